#include "frmServers.h"

#include "core/settings.h"
#include "ui/toolkit/services.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSocketNotifier>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <mutex>
#include <thread>

namespace velo::ui {

namespace {
using Clock = core::ServerSearch::Clock;

enum Column { Name, Map, Players, Ping, Mod, Address };
// Datagrams read before the window gets its turn again.
constexpr int kReadBatch = 256;
constexpr char kSection[] = "Servers";

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// A row that keeps nothing of its own: its texts are read from the search when shown, so
// a long list costs little more than the search itself.
class ServerItem : public QTreeWidgetItem {
public:
    ServerItem(const core::ServerSearch& search, std::size_t server)
        : QTreeWidgetItem(UserType), search_(search), server_(server) {}

    std::size_t server() const { return server_; }
    const core::ServerEntry& entry() const { return search_.servers()[server_]; }
    void changed() { emitDataChanged(); }

    QVariant data(int column, int role) const override {
        if (role != Qt::DisplayRole) {
            return QTreeWidgetItem::data(column, role);
        }
        const core::ServerEntry& e = entry();
        const bool answered = e.state == core::ServerEntry::State::Answered;
        switch (column) {
        case Name:
            return qs(e.status.name);
        case Map:
            return qs(e.status.map);
        case Players:
            return answered ? QStringLiteral("%1/%2")
                                  .arg(e.status.players.size())
                                  .arg(e.status.maxPlayers)
                            : QString();
        case Ping:
            return answered ? QString::number(e.ping.count()) : frmServers::tr("no answer");
        case Mod:
            return qs(e.status.mod);
        case Address:
            return qs(core::toString(e.address));
        default:
            return {};
        }
    }

    // Numbers sort as numbers, addresses by their bytes; a row without an answer after all
    // that have one.
    bool operator<(const QTreeWidgetItem& other) const override {
        const core::ServerEntry& mine = entry();
        const core::ServerEntry& theirs = static_cast<const ServerItem&>(other).entry();
        const bool a = mine.state == core::ServerEntry::State::Answered;
        const bool b = theirs.state == core::ServerEntry::State::Answered;
        const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : Ping;
        if (column == Address) {
            return mine.address < theirs.address;
        }
        if (a != b) {
            return a;
        }
        if (column == Players) {
            return mine.status.players.size() < theirs.status.players.size();
        }
        if (column == Ping) {
            return mine.ping < theirs.ping;
        }
        return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
    }

private:
    const core::ServerSearch& search_;
    std::size_t server_;
};

ServerItem* serverItem(QTreeWidgetItem* item) {
    return static_cast<ServerItem*>(item);
}
} // namespace

const std::vector<std::string>& defaultMasters() {
    static const std::vector<std::string> masters{"master.quake.services", "master.q2servers.com",
                                                  "master.quakeservers.net"};
    return masters;
}

struct frmServers::Lookups {
    struct Done {
        std::string host;
        std::uint16_t port;
        bool master;
        platform::Resolved resolved;
    };
    std::mutex mutex;
    std::vector<Done> done;
};

frmServers::frmServers(core::SettingsFile& settings, Services& services, ServerSearchSetup setup,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), services_(services), setup_(setup) {
    setObjectName(QStringLiteral("frmServers"));
    setWindowTitle(tr("Join a Game"));
    resize(780, 540);

    auto* lblAddress = new QLabel(tr("&Address"), this);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    txtAddress_ = new QLineEdit(this);
    txtAddress_->setObjectName(QStringLiteral("txtAddress"));
    txtAddress_->setPlaceholderText(tr("host or host:port"));
    lblAddress->setBuddy(txtAddress_);
    auto* cmdJoinServer = new QPushButton(tr("&Join"), this);
    cmdJoinServer->setObjectName(QStringLiteral("cmdJoinServer"));
    auto* cmdAddFavourite = new QPushButton(tr("Add to &Favourites"), this);
    cmdAddFavourite->setObjectName(QStringLiteral("cmdAddFavourite"));
    auto* cmdRefresh = new QPushButton(tr("&Refresh"), this);
    cmdRefresh->setObjectName(QStringLiteral("cmdRefresh"));
    cmdRefresh->setToolTip(tr("Ask every server again (F5)"));
    chkHideEmpty_ = new QCheckBox(tr("Hide empty"), this);
    chkHideEmpty_->setObjectName(QStringLiteral("chkHideEmpty"));
    chkHideFull_ = new QCheckBox(tr("Hide full"), this);
    chkHideFull_->setObjectName(QStringLiteral("chkHideFull"));

    lstServers_ = new QTreeWidget(this);
    lstServers_->setObjectName(QStringLiteral("lstServers"));
    lstServers_->setHeaderLabels(
        {tr("Name"), tr("Map"), tr("Players"), tr("Ping"), tr("Mod"), tr("Address")});
    lstServers_->setRootIsDecorated(false);
    lstServers_->setUniformRowHeights(true);
    lstServers_->setAllColumnsShowFocus(true);
    lstServers_->setContextMenuPolicy(Qt::CustomContextMenu);
    lstServers_->setSortingEnabled(true);
    lstServers_->sortByColumn(Ping, Qt::AscendingOrder);
    for (const auto& [column, width] :
         {std::pair{Name, 240}, {Map, 90}, {Players, 70}, {Ping, 80}, {Mod, 80}}) {
        lstServers_->header()->resizeSection(column, width);
    }
    lstServers_->installEventFilter(this);

    lblProgress_ = new QLabel(this);
    lblProgress_->setObjectName(QStringLiteral("lblProgress"));
    prgSearch_ = new QProgressBar(this);
    prgSearch_->setObjectName(QStringLiteral("prgSearch"));
    prgSearch_->setTextVisible(false);
    prgSearch_->setMaximumWidth(200);

    auto* lblPlayers = new QLabel(tr("Players on the selected server"), this);
    lblPlayers->setObjectName(QStringLiteral("lblPlayers"));
    lstPlayers_ = new QTreeWidget(this);
    lstPlayers_->setObjectName(QStringLiteral("lstPlayers"));
    lstPlayers_->setHeaderLabels({tr("Name"), tr("Score"), tr("Ping")});
    lstPlayers_->setRootIsDecorated(false);
    lstPlayers_->setMaximumHeight(140);
    lstPlayers_->setFocusPolicy(Qt::NoFocus);

    auto* top = new QHBoxLayout;
    top->addWidget(lblAddress);
    top->addWidget(txtAddress_, 1);
    top->addWidget(cmdJoinServer);
    top->addWidget(cmdAddFavourite);
    top->addSpacing(12);
    top->addWidget(chkHideEmpty_);
    top->addWidget(chkHideFull_);
    top->addWidget(cmdRefresh);
    auto* progress = new QHBoxLayout;
    progress->addWidget(lblProgress_, 1);
    progress->addWidget(prgSearch_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lstServers_, 1);
    layout->addLayout(progress);
    layout->addWidget(lblPlayers);
    layout->addWidget(lstPlayers_);

    tick_ = new QTimer(this);
    tick_->setSingleShot(true);
    connect(tick_, &QTimer::timeout, this, &frmServers::tick);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmServers::cmdRefresh_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            &frmServers::cmdRefresh_Click);
    connect(cmdJoinServer, &QPushButton::clicked, this, &frmServers::cmdJoinServer_Click);
    connect(cmdAddFavourite, &QPushButton::clicked, this, &frmServers::cmdAddFavourite_Click);
    connect(txtAddress_, &QLineEdit::returnPressed, this, &frmServers::txtAddress_Return);
    connect(lstServers_, &QTreeWidget::itemDoubleClicked, this, &frmServers::lstServers_DblClick);
    connect(lstServers_, &QTreeWidget::currentItemChanged, this, &frmServers::showPlayers);
    connect(lstServers_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        std::unique_ptr<QMenu> menu(contextMenuFor(lstServers_->itemAt(at)));
        if (menu) {
            menu->exec(lstServers_->viewport()->mapToGlobal(at));
        }
    });
    connect(chkHideEmpty_, &QCheckBox::toggled, this, &frmServers::chkHide_Click);
    connect(chkHideFull_, &QCheckBox::toggled, this, &frmServers::chkHide_Click);

    setFocusProxy(lstServers_);
    lstServers_->setFocus();
    startSearch();
}

frmServers::~frmServers() {
    stopSearch();
    // The rows read the search, which dies before the widgets do.
    lstServers_->clear();
}

void frmServers::stopSearch() {
    tick_->stop();
    delete notifier_;
    notifier_ = nullptr;
    socket_.close();
    // Lookups still running finish into a list nobody reads.
    lookups_.reset();
    pendingLookups_ = 0;
}

void frmServers::startSearch() {
    stopSearch();
    lstServers_->clear();
    lstPlayers_->clear();
    rows_.clear();
    notes_.clear();
    problem_.clear();
    favouriteNames_.clear();
    search_ = std::make_unique<core::ServerSearch>(setup_.limits);
    lookups_ = std::make_shared<Lookups>();

    if (auto error = socket_.open()) {
        problem_ = tr("No search is possible: %1").arg(describe(*error));
        showProgress();
        return;
    }
    notifier_ = new QSocketNotifier(socket_.handle(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &frmServers::readDatagrams);

    const core::SettingsRead masters = settings_.ReadINI(kSection, "Masters");
    const core::SettingsRead favourites = settings_.ReadINI(kSection, "Favorites");
    for (const core::SettingsRead* read : {&masters, &favourites}) {
        if (read->error) {
            problem_ = tr("The settings file could not be read: %1").arg(describe(*read->error));
        }
    }
    std::vector<std::string> masterNames = core::splitWords(masters.value);
    if (masterNames.empty() && !masters.error) {
        masterNames = defaultMasters();
    }
    for (const std::string& word : masterNames) {
        if (const auto master = core::splitHostPort(word, core::kMasterPort)) {
            lookUp(master->host, master->port, true);
        } else {
            notes_.push_back(word + ": " + tr("not a host or host:port").toStdString());
        }
    }
    for (const std::string& word : core::splitWords(favourites.value)) {
        if (const auto favourite = core::splitHostPort(word, core::kServerPort)) {
            lookUp(favourite->host, favourite->port, false);
        }
    }

    const Clock::time_point now = Clock::now();
    search_->listenForLan(now);
    for (const std::uint32_t broadcast : services_.broadcastAddresses()) {
        (void)socket_.sendTo(broadcast, setup_.lanPort, core::infoRequest());
    }
    for (unsigned port = setup_.firstLocalPort; port <= setup_.lastLocalPort; ++port) {
        search_->add({core::kLoopback, static_cast<std::uint16_t>(port)}, core::kFromLan, true);
    }
    tick();
}

void frmServers::lookUp(const std::string& host, std::uint16_t port, bool master) {
    if (const std::optional<std::uint32_t> ip = core::parseDottedIPv4(host)) {
        std::lock_guard<std::mutex> lock(lookups_->mutex);
        lookups_->done.push_back({host, port, master, {{*ip}, std::nullopt}});
        return;
    }
    ++pendingLookups_;
    // The resolver blocks; its answer is collected by the next tick.
    std::thread([lookups = lookups_, host, port, master] {
        platform::Resolved resolved = platform::resolveIPv4(host);
        std::lock_guard<std::mutex> lock(lookups->mutex);
        lookups->done.push_back({host, port, master, std::move(resolved)});
    }).detach();
}

void frmServers::takeLookups() {
    std::vector<Lookups::Done> done;
    {
        std::lock_guard<std::mutex> lock(lookups_->mutex);
        done.swap(lookups_->done);
    }
    const Clock::time_point now = Clock::now();
    for (Lookups::Done& lookup : done) {
        const bool resolvedHere = core::parseDottedIPv4(lookup.host).has_value();
        pendingLookups_ -= resolvedHere ? 0 : 1;
        if (lookup.resolved.error || lookup.resolved.addresses.empty()) {
            notes_.push_back(lookup.resolved.error ? lookup.resolved.error->message()
                                                   : lookup.host + ": no IPv4 address");
            continue;
        }
        const core::ServerAddress address{lookup.resolved.addresses.front(), lookup.port};
        if (lookup.master) {
            const auto query = search_->askMaster(address, lookup.host, now);
            if (auto error = socket_.sendTo(query.to.ip, query.to.port, query.bytes)) {
                notes_.push_back(lookup.host + ": " + error->reason);
            }
        } else {
            search_->add(address, core::kFavourite);
            favouriteNames_[address] = lookup.host + ':' + std::to_string(lookup.port);
        }
    }
}

void frmServers::tick() {
    if (!search_ || !socket_.isOpen()) {
        return;
    }
    takeLookups();
    send(search_->due(Clock::now()));
    showChanges();
    showProgress();
    schedule();
}

void frmServers::readDatagrams() {
    for (int read = 0; read < kReadBatch; ++read) {
        std::optional<platform::ReceivedDatagram> datagram = socket_.receive();
        if (!datagram) {
            break;
        }
        search_->receive({datagram->ip, datagram->port}, datagram->bytes, Clock::now());
    }
    send(search_->due(Clock::now()));
    showChanges();
    showProgress();
    schedule();
}

void frmServers::send(const std::vector<core::ServerSearch::Datagram>& datagrams) {
    // A request that cannot leave is a server that does not answer.
    for (const core::ServerSearch::Datagram& datagram : datagrams) {
        (void)socket_.sendTo(datagram.to.ip, datagram.to.port, datagram.bytes);
    }
}

void frmServers::schedule() {
    const Clock::time_point now = Clock::now();
    std::optional<Clock::time_point> next = search_->nextDeadline();
    if (pendingLookups_ > 0) {
        const Clock::time_point soon = now + std::chrono::milliseconds(20);
        next = next ? std::min(*next, soon) : soon;
    }
    if (!next) {
        tick_->stop();
        return;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*next - now);
    tick_->start(static_cast<int>(std::clamp<std::int64_t>(wait.count() + 1, 0, 60000)));
}

void frmServers::showChanges() {
    for (const std::string& note : search_->takeNotes()) {
        notes_.push_back(note);
    }
    QList<QTreeWidgetItem*> added;
    for (const std::size_t server : search_->takeChanged()) {
        if (QTreeWidgetItem* item = showRow(server)) {
            added << item;
        }
    }
    // Filled before they join the list, and all at once: a sorted list moves a row it holds
    // at every change of its texts.
    lstServers_->addTopLevelItems(added);
    if (lstServers_->currentItem() == nullptr && lstServers_->topLevelItemCount() > 0) {
        lstServers_->setCurrentItem(lstServers_->topLevelItem(0));
    }
}

QTreeWidgetItem* frmServers::showRow(std::size_t server) {
    const core::ServerEntry& entry = search_->servers()[server];
    if (!entry.listed()) {
        return nullptr;
    }
    if (rows_.size() <= server) {
        rows_.resize(server + 1, nullptr);
    }
    auto* item = static_cast<ServerItem*>(rows_[server]);
    const bool fresh = item == nullptr;
    if (fresh) {
        item = new ServerItem(*search_, server);
        rows_[server] = item;
    } else {
        item->changed();
    }
    applyFilters(item);
    if (item == lstServers_->currentItem()) {
        showPlayers();
    }
    return fresh ? item : nullptr;
}

void frmServers::applyFilters(QTreeWidgetItem* item) const {
    const core::ServerEntry& entry = serverItem(item)->entry();
    const bool answered = entry.state == core::ServerEntry::State::Answered;
    const std::size_t count = entry.status.players.size();
    const auto max = static_cast<std::size_t>(std::max(entry.status.maxPlayers, 0));
    const bool empty = answered && count == 0;
    const bool full = answered && max > 0 && count >= max;
    item->setHidden((chkHideEmpty_->isChecked() && empty) || (chkHideFull_->isChecked() && full));
}

void frmServers::chkHide_Click() {
    for (int i = 0; i < lstServers_->topLevelItemCount(); ++i) {
        applyFilters(lstServers_->topLevelItem(i));
    }
}

void frmServers::showProgress() {
    const bool done = finished();
    const auto counted = static_cast<int>(search_ ? search_->counted() : 0);
    const auto answered = static_cast<int>(search_ ? search_->answered() : 0);
    QString text = done ? tr("%1 of %2 servers answered.").arg(answered).arg(counted)
                        : tr("Asking servers: %1 of %2 answered…").arg(answered).arg(counted);
    for (const std::string& note : notes_) {
        text += QLatin1Char(' ') + qs(note) + QLatin1Char('.');
    }
    if (!problem_.isEmpty()) {
        text = problem_ + QLatin1Char(' ') + text;
    }
    lblProgress_->setText(text);
    prgSearch_->setRange(0, std::max(counted, 1));
    prgSearch_->setValue(done ? std::max(counted, 1) : answered);
}

bool frmServers::finished() const {
    return !socket_.isOpen() ||
           (search_ && pendingLookups_ == 0 && search_->finished(Clock::now()));
}

void frmServers::showPlayers() {
    lstPlayers_->clear();
    QTreeWidgetItem* item = lstServers_->currentItem();
    if (item == nullptr || !search_) {
        return;
    }
    for (const core::PlayerInfo& player : serverItem(item)->entry().status.players) {
        auto* row = new QTreeWidgetItem(lstPlayers_);
        row->setText(0, qs(player.name));
        row->setText(1, QString::number(player.score));
        row->setText(2, QString::number(player.ping));
    }
}

void frmServers::cmdRefresh_Click() {
    startSearch();
}

void frmServers::lstServers_DblClick(QTreeWidgetItem* item) {
    if (item == nullptr || !search_) {
        return;
    }
    const core::ServerEntry& entry = serverItem(item)->entry();
    join(item->text(Address),
         entry.state == core::ServerEntry::State::Answered ? &entry.status : nullptr);
}

void frmServers::cmdJoinServer_Click() {
    if (!txtAddress_->text().trimmed().isEmpty() && txtAddress_->hasFocus()) {
        txtAddress_Return();
        return;
    }
    if (QTreeWidgetItem* item = lstServers_->currentItem(); item != nullptr && !item->isHidden()) {
        lstServers_DblClick(item);
    } else if (!txtAddress_->text().trimmed().isEmpty()) {
        txtAddress_Return();
    }
}

void frmServers::txtAddress_Return() {
    const QString text = txtAddress_->text().trimmed();
    const auto split = core::splitHostPort(text.toStdString(), core::kServerPort);
    if (!split || text.contains(QLatin1Char(' '))) {
        services_.message(this, MessageKind::Warning,
                          tr("\"%1\" is not a server address: type a host name or address, "
                             "optionally followed by a colon and a port from 1 to 65535.")
                              .arg(text));
        return;
    }
    const core::ServerStatus* status = nullptr;
    if (const auto ip = core::parseDottedIPv4(split->host); ip && search_) {
        const auto known = search_->find({*ip, split->port});
        if (known && search_->servers()[*known].state == core::ServerEntry::State::Answered) {
            status = &search_->servers()[*known].status;
        }
    }
    join(qs(split->host) + QLatin1Char(':') + QString::number(split->port), status);
}

void frmServers::join(const QString& address, const core::ServerStatus* status) {
    // Copied first: the dialog's event loop may take in answers that move the search's data.
    const QString gameDir = qs(status != nullptr ? status->gameDir : "baseq2");
    QString password;
    if (status != nullptr && status->needsPassword) {
        const std::optional<QString> answer = services_.askPassword(this, address);
        if (!answer) {
            return;
        }
        password = *answer;
    }
    emit joinRequested(address, password, gameDir);
}

bool frmServers::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstServers_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            lstServers_DblClick(lstServers_->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::vector<std::string> frmServers::favourites() const {
    return core::splitWords(settings_.ReadINI(kSection, "Favorites").value);
}

void frmServers::setFavourites(const std::vector<std::string>& list) {
    std::string joined;
    for (const std::string& word : list) {
        joined += (joined.empty() ? "" : " ") + word;
    }
    if (auto error = settings_.WriteINI(kSection, "Favorites", joined)) {
        warnSettings(tr("The favourites could not be saved."), *error);
    }
}

void frmServers::warnSettings(const QString& headline, const platform::Error& error) {
    warn(services_, this, headline, error);
}

void frmServers::addFavourite(const QString& address) {
    const auto split = core::splitHostPort(address.trimmed().toStdString(), core::kServerPort);
    if (!split) {
        return;
    }
    const std::string word = split->host + ':' + std::to_string(split->port);
    std::vector<std::string> list = favourites();
    if (std::find(list.begin(), list.end(), word) == list.end()) {
        list.push_back(word);
        setFavourites(list);
    }
    // Asked at once, so a favourite that was not in the list shows up.
    if (const auto ip = core::parseDottedIPv4(split->host); ip && search_ && socket_.isOpen()) {
        search_->add({*ip, split->port}, core::kFavourite);
        tick();
    }
}

std::optional<std::string> frmServers::favouriteFor(core::ServerAddress address) const {
    const auto named = favouriteNames_.find(address);
    for (const std::string& entry : favourites()) {
        const auto split = core::splitHostPort(entry, core::kServerPort);
        if (!split) {
            continue;
        }
        const std::string word = split->host + ':' + std::to_string(split->port);
        if (word == core::toString(address) ||
            (named != favouriteNames_.end() && word == named->second)) {
            return entry;
        }
    }
    return std::nullopt;
}

void frmServers::removeFavourite(const std::string& entry) {
    std::vector<std::string> list = favourites();
    const auto kept = std::remove(list.begin(), list.end(), entry);
    if (kept != list.end()) {
        list.erase(kept, list.end());
        setFavourites(list);
    }
}

void frmServers::cmdAddFavourite_Click() {
    const QString typed = txtAddress_->text().trimmed();
    if (!typed.isEmpty()) {
        addFavourite(typed);
    } else if (QTreeWidgetItem* item = lstServers_->currentItem()) {
        addFavourite(item->text(Address));
    }
}

QMenu* frmServers::contextMenuFor(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return nullptr;
    }
    const QString address = item->text(Address);
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuServer"));
    connect(menu->addAction(tr("&Join")), &QAction::triggered, this,
            [this, item] { lstServers_DblClick(item); });
    if (const std::optional<std::string> entry = favouriteFor(serverItem(item)->entry().address)) {
        connect(menu->addAction(tr("Remove from Favourites")), &QAction::triggered, this,
                [this, word = *entry] { removeFavourite(word); });
    } else {
        connect(menu->addAction(tr("Add to Favourites")), &QAction::triggered, this,
                [this, address] { addFavourite(address); });
    }
    return menu;
}

} // namespace velo::ui
