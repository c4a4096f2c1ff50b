zt_test(test_programtable program/test_programtable.cpp program/ProgramFixture.cpp)
zt_test(test_editorlogic program/test_editorlogic.cpp program/EditorRig.cpp program/ProgramFixture.cpp)
zt_test(test_editmenu program/test_editmenu.cpp program/EditorRig.cpp program/ProgramFixture.cpp)
zt_test(test_prgedit2 program/test_prgedit2.cpp)
