#include "TestHome.h"

#include "platform/AppInfo.h"

TestHome::TestHome() { SetAppPath(m_dir.path()); }
TestHome::~TestHome() { SetAppPath(QString()); }
