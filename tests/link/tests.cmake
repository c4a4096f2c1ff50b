zt_test(test_lineexchange link/test_lineexchange.cpp LINKS zt_link)
