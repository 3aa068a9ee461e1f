#pragma once

#include "core/server_search.h"
#include "platform/udp.h"

#include <QWidget>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSocketNotifier;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace velo::core {
class SettingsFile;
}

namespace velo::ui {

class Services;

// Where a search looks besides the masters and favourites; the defaults are a real
// desktop's, tests narrow them.
struct ServerSearchSetup {
    core::SearchLimits limits;
    std::uint16_t lanPort = core::kServerPort;
    // Ports on this machine asked directly, for servers that do not hear broadcasts.
    std::uint16_t firstLocalPort = core::kServerPort;
    std::uint16_t lastLocalPort = core::kServerPort + 9;
};

// The masters asked where q2velo.ini names none.
const std::vector<std::string>& defaultMasters();

// "Join a Game": the servers the masters, the LAN and the favourites know, asked for their
// status, listed as they answer; joining one hands its address to whoever starts the game.
class frmServers : public QWidget {
    Q_OBJECT
public:
    frmServers(core::SettingsFile& settings, Services& services, ServerSearchSetup setup = {},
               QWidget* parent = nullptr);
    ~frmServers() override;

    void cmdRefresh_Click();
    void cmdJoinServer_Click();
    void cmdAddFavourite_Click();
    void txtAddress_Return();
    void lstServers_DblClick(QTreeWidgetItem* item);
    void chkHide_Click();

    // The list's context menu for the row at item; nullptr where there is none. The caller
    // owns it.
    QMenu* contextMenuFor(QTreeWidgetItem* item);
    // The Favorites entry, as its words.
    std::vector<std::string> favourites() const;
    bool finished() const;

signals:
    // password is empty where the server asks for none; gameDir is the server's game
    // folder, "baseq2" where it names none or is not known.
    void joinRequested(const QString& address, const QString& password, const QString& gameDir);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Lookups;
    void startSearch();
    void stopSearch();
    void lookUp(const std::string& host, std::uint16_t port, bool master);
    void takeLookups();
    void readDatagrams();
    void tick();
    void send(const std::vector<core::ServerSearch::Datagram>& datagrams);
    void showChanges();
    // Fills the server's row; the row when it is new and still to be added to the list.
    QTreeWidgetItem* showRow(std::size_t server);
    void applyFilters(QTreeWidgetItem* item) const;
    void showProgress();
    void showPlayers();
    void schedule();
    // status: what the server told about itself, where it is known.
    void join(const QString& address, const core::ServerStatus* status);
    void setFavourites(const std::vector<std::string>& list);
    void addFavourite(const QString& address);
    // The Favorites word that names the server at address, as typed or as resolved.
    std::optional<std::string> favouriteFor(core::ServerAddress address) const;
    void removeFavourite(const std::string& entry);
    void warnSettings(const QString& headline, const platform::Error& error);

    core::SettingsFile& settings_;
    Services& services_;
    ServerSearchSetup setup_;

    QLineEdit* txtAddress_ = nullptr;
    QTreeWidget* lstServers_ = nullptr;
    QCheckBox* chkHideEmpty_ = nullptr;
    QCheckBox* chkHideFull_ = nullptr;
    QLabel* lblProgress_ = nullptr;
    QProgressBar* prgSearch_ = nullptr;
    QTreeWidget* lstPlayers_ = nullptr;
    QTimer* tick_ = nullptr;

    platform::UdpSocket socket_;
    QSocketNotifier* notifier_ = nullptr;
    std::unique_ptr<core::ServerSearch> search_;
    std::vector<QTreeWidgetItem*> rows_; // by server index; nullptr while not listed
    std::shared_ptr<Lookups> lookups_;   // shared with the resolver threads of this search
    int pendingLookups_ = 0;
    QString problem_; // what stopped the search or what went wrong, for the progress line
    std::vector<std::string> notes_;
    std::map<core::ServerAddress, std::string> favouriteNames_; // "host:port" by address found
};

} // namespace velo::ui
