zt_test(test_replies link/test_replies.cpp)
zt_test(test_seriallink link/test_seriallink.cpp)
zt_test(test_settings link/test_settings.cpp)
zt_test(test_mainwin link/test_mainwin.cpp)
