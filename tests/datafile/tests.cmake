zt_test(test_datafile datafile/test_datafile.cpp datafile/DataFileRig.cpp program/ProgramFixture.cpp LINKS zt_datafile)
target_compile_definitions(test_datafile PRIVATE DATAFILE_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/datafile/fixtures")
zt_test(test_filewindow datafile/test_filewindow.cpp mainwin/ManualRig.cpp)
