zt_test(test_paramwords params/test_paramwords.cpp)
zt_test(test_paramexchange params/test_paramexchange.cpp params/ParamUnit.cpp)
zt_test(test_paramroad params/test_paramroad.cpp)
zt_test(test_paramchecks params/test_paramchecks.cpp)
