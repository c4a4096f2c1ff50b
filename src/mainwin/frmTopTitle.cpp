#include "mainwin/frmTopTitle.h"

#include "mainwin/frmMain.h"
#include "platform/AppInfo.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

frmTopTitle::frmTopTitle(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("ZT260A/ZT460A"));
    auto *layout = new QVBoxLayout(this);
    Label2 = new QLabel(QStringLiteral("ZT260A/ZT460A"), this);
    QFont big = Label2->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    Label2->setFont(big);
    Label1 = new QLabel(QStringLiteral("2/4axis Motion Controller"), this);
    lblPlatform = new QLabel(QStringLiteral("with MS-Windows"), this);
    lblVersion = new QLabel(this);
    Label3 = new QLabel(this);
    for (QLabel *l : {Label2, Label1, lblPlatform, lblVersion, Label3}) {
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
    }
    setMinimumSize(360, 200);
}

void frmTopTitle::Form_Load()
{
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(AppVersionMajor()).arg(AppVersionMinor()).arg(AppVersionRevision()));
    Label3->setText(AppTitle());
    show();
    QTimer::singleShot(2000, this, &frmTopTitle::ShowMain);
}

void frmTopTitle::keyPressEvent(QKeyEvent *)
{
    ShowMain();
}

void frmTopTitle::ShowMain()
{
    if (m_handedOver)
        return;
    m_handedOver = true;
    hide();
    auto *main = new frmMain;
    main->setAttribute(Qt::WA_DeleteOnClose);
    emit mainShown(main);
    main->Form_Load();
    main->show();
    deleteLater();
}
