zt_test(test_platform platform/test_platform.cpp)
