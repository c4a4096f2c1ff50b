zt_test(test_unitsim unitsim/test_unitsim.cpp LINKS zt_platform)
