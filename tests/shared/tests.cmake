zt_test(test_numbers shared/test_numbers.cpp)
