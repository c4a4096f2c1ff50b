zt_test(test_platform platform/test_platform.cpp)
zt_test(test_datacontrol platform/test_datacontrol.cpp)
