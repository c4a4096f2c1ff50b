zt_test(test_numbers shared/test_numbers.cpp)
zt_test(test_unitkind shared/test_unitkind.cpp)
zt_test(test_entrychecks shared/test_entrychecks.cpp)
