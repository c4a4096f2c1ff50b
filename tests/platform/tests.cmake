zt_test(test_platform platform/test_platform.cpp LINKS zt_platform)
zt_test(test_datacontrol platform/test_datacontrol.cpp LINKS zt_platform)
