zt_test(test_codec transfer/test_codec.cpp LINKS zt_transfer)
zt_test(test_programtransfer transfer/test_programtransfer.cpp transfer/TransferRig.cpp)
zt_test(test_transferwindows transfer/test_transferwindows.cpp transfer/TransferRig.cpp)
zt_test(test_transfer2 transfer/test_transfer2.cpp transfer/TransferRig.cpp)
