#include "frmQ2Dir.h"

#include "core/profile.h"
#include "core/settings.h"
#include "ui/toolkit/services.h"
#include "ui/toolkit/widgets.h"

#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyledItemDelegate>
#include <QThread>

#include <memory>
#include <string>
#include <vector>

namespace velo::ui {

namespace {
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;
constexpr int kIndentPixels = 10;

class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(kDepthRole).toInt() * kIndentPixels, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

// The folders from the root down to folder, root first.
QStringList lineage(const QString& folder) {
    QStringList paths;
    QDir dir(folder);
    paths.prepend(dir.absolutePath());
    while (dir.cdUp()) {
        paths.prepend(dir.absolutePath());
    }
    return paths;
}

QString displayName(const QString& path) {
    const QString name = QDir(path).dirName();
    return name.isEmpty() || QDir(path).isRoot() ? QDir::toNativeSeparators(path) : name;
}

QStringList driveRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && !roots.contains(volume.rootPath())) {
            roots << volume.rootPath();
        }
    }
    if (!roots.contains(QDir::rootPath())) {
        roots << QDir::rootPath();
    }
    roots.sort();
    return roots;
}
} // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new IndentDelegate(this));
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setCurrentFolder(item->data(kPathRole).toString()); });
}

bool FolderList::setCurrentFolder(const QString& folder) {
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable()) {
        return false;
    }
    const QString path = QDir::cleanPath(dir.absolutePath());
    const QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int depth = 0;
    for (const QString& step : lineage(path)) {
        auto* item = new QListWidgetItem(open, displayName(step), this);
        item->setData(kDepthRole, depth++);
        item->setData(kPathRole, step);
    }
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(closed, name, this);
        item->setData(kDepthRole, depth);
        item->setData(kPathRole, dir.absoluteFilePath(name));
    }
    setCurrentRow(depth - 1);
    current_ = QDir::toNativeSeparators(path);
    emit currentFolderChanged(current_);
    return true;
}

frmQ2Dir::frmQ2Dir(core::SettingsFile& settings, Services& services, QWidget* parent)
    : QDialog(parent), settings_(settings), services_(services) {
    fixWindow(this, "frmQ2Dir", tr("Locate your Quake II Directory"), 5235, 3705);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    cmdOkay_ = makeButton(this, "cmdOkay", tr("&Okay"), {3840, 3345, 1215, 300});
    lstFolders_ = new FolderList(this);
    lstFolders_->setObjectName(QStringLiteral("lstFolders"));
    lstFolders_->setGeometry(toPixels(Twips{45, 0, 5085, 3240}));
    lstDrive_ = makeCombo(this, "lstDrive", driveRoots(), QString(), {0, 3330, 3675, 315},
                          /*editable*/ false);

    setTabOrder(cmdOkay_, lstFolders_);
    setTabOrder(lstFolders_, lstDrive_);
    cmdOkay_->setDefault(true);
    cmdOkay_->setFocus();

    lstFolders_->setCurrentFolder(QDir::currentPath());
    showDriveOf(lstFolders_->currentFolder());

    connect(lstDrive_, &QComboBox::activated, this, &frmQ2Dir::lstDrive_Change);
    connect(lstFolders_, &FolderList::currentFolderChanged, this, &frmQ2Dir::showDriveOf);
    connect(cmdOkay_, &QPushButton::clicked, this, &frmQ2Dir::cmdOkay_Click);
}

frmQ2Dir::~frmQ2Dir() = default;

bool frmQ2Dir::openOn(const QString& folder) {
    return !folder.isEmpty() && lstFolders_->setCurrentFolder(folder);
}

void frmQ2Dir::lookForGame() {
    if (searching_) {
        return;
    }
    searching_ = true;
    const QString opened = lstFolders_->currentFolder();
    // The thread owns what it finds; the locator sees it only while it is still there,
    // through a connection that goes with it.
    auto found = std::make_shared<std::vector<std::string>>();
    QThread* search = QThread::create([look = services_.gameSearch(), found] { *found = look(); });
    connect(search, &QThread::finished, search, &QObject::deleteLater);
    connect(search, &QThread::finished, this, [this, opened, found] {
        if (!found->empty() && lstFolders_->currentFolder() == opened) {
            openOn(QString::fromStdString(found->front()));
        }
    });
    search->start();
}

QString frmQ2Dir::chosenFolder() const {
    return lstFolders_->currentFolder();
}

void frmQ2Dir::showDriveOf(const QString& folder) {
    const int index = lstDrive_->findText(QStorageInfo(folder).rootPath());
    if (index >= 0) {
        lstDrive_->setCurrentIndex(index);
    }
}

void frmQ2Dir::lstDrive_Change() {
    // Picking the drive already shown is no change: the folder list stays where it is.
    if (lstDrive_->currentText() == QStorageInfo(lstFolders_->currentFolder()).rootPath()) {
        return;
    }
    // An unreadable drive leaves the folder list, and so the drive shown, where it was.
    if (!lstFolders_->setCurrentFolder(lstDrive_->currentText())) {
        showDriveOf(lstFolders_->currentFolder());
    }
}

void frmQ2Dir::cmdOkay_Click() {
    const std::string folder = lstFolders_->currentFolder().toStdString();
    // Both keys or neither: a folder kept without "No" would skip the locator next time
    // though the start-up asked for it.
    const auto error = settings_.Edit([&](std::string_view text) {
        return core::profileSet(core::profileSet(text, "Quake2", "Path", folder), "Quake2",
                                "RunSetup", "No");
    });
    if (error) {
        warn(services_, this,
             atStartUp_ ? tr("The game directory could not be saved. It is used for this run, "
                             "and you will be asked for it again at the next start.")
                        : tr("The game directory could not be saved. It is used for this run "
                             "only."),
             *error);
    }
    accept();
}

} // namespace velo::ui
