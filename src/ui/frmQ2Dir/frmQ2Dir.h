#pragma once

#include <QDialog>
#include <QListWidget>

class QComboBox;
class QPushButton;

namespace velo::core {
class SettingsFile;
}

namespace velo::ui {

class Services;

// The folder list: the folders from the root down to the current folder, indented by
// depth, then the current folder's subfolders. A double click opens a folder.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent);

    QString currentFolder() const { return current_; }
    // False, leaving the list as it was, when the folder cannot be read.
    bool setCurrentFolder(const QString& folder);

signals:
    void currentFolderChanged(const QString& folder);

private:
    QString current_;
};

// The game directory locator.
class frmQ2Dir : public QDialog {
    Q_OBJECT
public:
    frmQ2Dir(core::SettingsFile& settings, Services& services, QWidget* parent = nullptr);
    ~frmQ2Dir() override;

    // Opened by the start-up, whose conditions bring the locator back while nothing is saved.
    void setAtStartUp(bool atStartUp) { atStartUp_ = atStartUp; }

    // Opens the list on folder; false, leaving it where it was, when it cannot be read.
    bool openOn(const QString& folder);
    // Looks for the game off the UI thread and opens on the first folder found, unless the
    // list was moved meanwhile. Never waited for: a search still running when the locator
    // goes finishes on its own, and what it finds is dropped.
    void lookForGame();

    // The folder "&Okay" stored, valid once the locator was accepted.
    QString chosenFolder() const;

    void lstDrive_Change();
    void cmdOkay_Click();

private:
    void showDriveOf(const QString& folder);

    core::SettingsFile& settings_;
    Services& services_;
    FolderList* lstFolders_;
    QComboBox* lstDrive_;
    QPushButton* cmdOkay_;
    bool searching_ = false;
    bool atStartUp_ = false;
};

} // namespace velo::ui
