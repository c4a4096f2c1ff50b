zt_test(test_replies link/test_replies.cpp)
zt_test(test_seriallink link/test_seriallink.cpp)
zt_test(test_lineexchange link/test_lineexchange.cpp)
