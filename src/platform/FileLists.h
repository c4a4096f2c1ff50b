#pragma once
// Our drive, directory and file lists: the three controls with which a
// window lets the operator pick a folder and a file in it. A "drive" here is
// the root of a mounted volume ("/" always, removable media under /media,
// /mnt or /run/media as they come and go).

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>

// The volumes offered as drives, "/" first.
QStringList DriveRoots();
// The drive a path lies on: the longest drive root that holds it ("/" at least).
QString DriveOf(const QString &path);

class DriveListBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveListBox(QWidget *parent = nullptr);

    QString Drive() const;
    // Chooses the drive that holds `path`; Change follows when it differs.
    void setDrive(const QString &path);
    // Reads the mounted volumes again, keeping the chosen drive when it is
    // still there.
    void Refresh();

signals:
    void Change();
};

// The folders from the root down to the current one, each on its own line,
// then the folders inside the current one. Activating a line (double click
// or Enter) makes it current.
class DirListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit DirListBox(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    // Makes `path` current; a folder that does not exist is refused (false,
    // nothing changes). Change follows when the folder differs.
    bool setPath(const QString &path);
    void Refresh();

signals:
    void Change();

private:
    QString m_path;
};

// The files of one folder that match a pattern ("*.zqd", "*.txt", "*.*";
// several may be joined by ";"), names only, sorted without regard to case.
class FileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    void setPath(const QString &path);
    QString Pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);
    // The chosen file's name, empty when none is chosen.
    QString FileName() const;
    // Chooses the listed file of that name; false when it is not listed.
    bool setFileName(const QString &name);
    void Refresh();

signals:
    // The operator chose a file.
    void Click();

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};
