#include "platform/FileLists.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <algorithm>

namespace {

QString cleanFolder(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool holds(const QString &root, const QString &path)
{
    return root == u"/" || path == root || path.startsWith(root + u'/');
}

} // namespace

QStringList DriveRoots()
{
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        // Only the places where an operator's own media appear, not the
        // system's many internal mounts.
        const bool media = root.startsWith(u"/media/") || root.startsWith(u"/mnt/")
                           || root.startsWith(u"/run/media/");
        if (media && v.isValid() && v.isReady() && !roots.contains(root))
            roots << root;
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

QString DriveOf(const QString &path)
{
    const QString p = cleanFolder(path);
    QString best = QStringLiteral("/");
    for (const QString &root : DriveRoots())
        if (holds(root, p) && root.size() > best.size())
            best = root;
    return best;
}

// ---- drives -------------------------------------------------------------------

DriveListBox::DriveListBox(QWidget *parent) : QComboBox(parent)
{
    Refresh();
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit Change(); });
}

QString DriveListBox::Drive() const
{
    return currentText();
}

void DriveListBox::setDrive(const QString &path)
{
    const QString drive = DriveOf(path);
    int i = findText(drive);
    if (i < 0) {
        addItem(drive);
        i = count() - 1;
    }
    setCurrentIndex(i);
}

void DriveListBox::Refresh()
{
    const QString kept = currentText();
    QSignalBlocker quiet(this);
    clear();
    addItems(DriveRoots());
    const int i = findText(kept);
    setCurrentIndex(i >= 0 ? i : 0);
}

// ---- folders ------------------------------------------------------------------

DirListBox::DirListBox(QWidget *parent) : QListWidget(parent)
{
    setPath(QDir::currentPath());
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setPath(item->data(Qt::UserRole).toString()); });
}

bool DirListBox::setPath(const QString &path)
{
    const QString p = cleanFolder(path);
    if (!QFileInfo(p).isDir())
        return false;
    const bool changed = p != m_path;
    m_path = p;
    Refresh();
    if (changed)
        emit Change();
    return true;
}

void DirListBox::Refresh()
{
    QSignalBlocker quiet(this);
    clear();
    // The way down from the root, then the folders inside.
    QStringList chain;
    for (QDir d(m_path);; ) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    int depth = 0;
    auto add = [this](const QString &text, const QString &full, int indent) {
        auto *item = new QListWidgetItem(QString(indent * 2, u' ') + text, this);
        item->setData(Qt::UserRole, full);
        return item;
    };
    for (const QString &folder : chain) {
        const QString name = QFileInfo(folder).fileName();
        QListWidgetItem *item = add(name.isEmpty() ? folder : name, folder, depth++);
        if (folder == m_path)
            setCurrentItem(item);
    }
    const QDir here(m_path);
    const QStringList inside = here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : inside)
        add(name, here.absoluteFilePath(name), depth);
}

// ---- files --------------------------------------------------------------------

FileListBox::FileListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!FileName().isEmpty())
            emit Click();
    });
}

void FileListBox::setPath(const QString &path)
{
    m_path = cleanFolder(path);
    Refresh();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    Refresh();
}

QString FileListBox::FileName() const
{
    const QList<QListWidgetItem *> chosen = selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

bool FileListBox::setFileName(const QString &name)
{
    const QList<QListWidgetItem *> found = findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    setCurrentItem(found.first());
    found.first()->setSelected(true);
    return true;
}

void FileListBox::Refresh()
{
    QSignalBlocker quiet(this);
    clear();
    if (m_path.isEmpty())
        return;
    QStringList filters;
    for (const QString &part : m_pattern.split(u';', Qt::SkipEmptyParts)) {
        const QString f = part.trimmed();
        // "*.*" means every file, also one whose name has no dot.
        filters << (f == u"*.*" ? QStringLiteral("*") : f);
    }
    if (filters.isEmpty())
        filters << QStringLiteral("*");
    addItems(QDir(m_path).entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase));
}
