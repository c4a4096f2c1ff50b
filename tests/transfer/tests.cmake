zt_test(test_codec transfer/test_codec.cpp)
