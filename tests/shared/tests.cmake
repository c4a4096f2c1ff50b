zt_test(test_numbers shared/test_numbers.cpp LINKS zt_shared)
zt_test(test_unitkind shared/test_unitkind.cpp LINKS zt_shared)
zt_test(test_entrychecks shared/test_entrychecks.cpp LINKS zt_shared)
zt_test(test_refusaltext shared/test_refusaltext.cpp LINKS zt_shared)
