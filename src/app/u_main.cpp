#include "app/u_main.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <functional>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProxyStyle>
#include <QSaveFile>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/window_registry.h"
#include "common/error.h"
#include "app/u_about.h"
#include "data/db_maintenance.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "data/u_data.h"
#include "data/u_download2.h"
#include "data/u_index.h"
#include "ui/dialogs.h"
#include "ui/busy_scope.h"
#include "ui/errors.h"
#include "ui/window_placement.h"

namespace zelvor {

namespace {

// The tab strip's tabs keep a narrow margin beside their text, so the ten
// analysis tabs fit beside the toolbar buttons on a 1366-pixel screen.
class CompactTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return std::min(QProxyStyle::pixelMetric(metric, option, widget), 12);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

Tfrmmain::Tfrmmain(AppContext& context, QWidget* parent) : QMainWindow(parent), context_(context)
{
    setObjectName("frmmain");
    setWindowTitle("Zelvor");
    context_.main = this;
    web_ = readWebSettings();

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("mdi");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);

    buildMenus();
    buildToolbar();
    buildBanner();
    fetchBanner();
    loadBackground();
    updateMenuState();
}

Tfrmmain::~Tfrmmain()
{
    for (auto& w : tools_)
        delete w.data();
    delete index_.data();
    context_.main = nullptr;
}

QAction* Tfrmmain::addMenuAction(QMenu* menu, const QString& text, const QString& name)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}

void Tfrmmain::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("mnumain");

    QMenu* file = bar->addMenu(QStringLiteral("文件(&F)"));
    connect(addMenuAction(file, QStringLiteral("打开彩票(&O)"), "mnuopen"), &QAction::triggered, this,
            [this] { mnuopenClick(); });
    connect(addMenuAction(file, QStringLiteral("关闭彩票(&G)"), "mnuclose"), &QAction::triggered, this,
            [this] { CloseLottery(); });
    file->addSeparator();
    connect(addMenuAction(file, QStringLiteral("退出(&X)"), "mnuexit"), &QAction::triggered, this,
            [this] { close(); });

    QMenu* data = bar->addMenu(QStringLiteral("彩票数据(&D)"));
    connect(addMenuAction(data, QStringLiteral("数据添加(&M)"), "mnumoddata"), &QAction::triggered, this,
            [this] { mnumoddataClick(); });
    connect(addMenuAction(data, QStringLiteral("数据下载(&D)"), "mnudownload"), &QAction::triggered, this,
            [this] { mnudownloadClick(); });
    data->addSeparator();
    connect(addMenuAction(data, QStringLiteral("数据备份(&B)"), "mnubackupdata"), &QAction::triggered, this,
            [this] { mnubackupdataClick(); });
    connect(addMenuAction(data, QStringLiteral("数据恢复(&C)"), "mnustoredata"), &QAction::triggered, this,
            [this] { mnustoredataClick(); });

    QMenu* analysis = bar->addMenu(QStringLiteral("数据分析(&A)"));
    const QStringList analysisItems = {
        QStringLiteral("开奖号码走势(&C)"), QStringLiteral("号码大小分析(&Z)"), QStringLiteral("号码奇偶分析(&J)"),
        QStringLiteral("号码和值分析(&H)"), QStringLiteral("号码跨度分析(&k)"), QStringLiteral("号码散度分析(&S)"),
        QStringLiteral("号码偏度分析(&P)"), QStringLiteral("号码AC值分析(&A)"), QStringLiteral("号码重码分析(&C)"),
        QStringLiteral("号码区间分析(&Q)")};
    for (int t = 0; t < analysisItems.size(); ++t) {
        QAction* a = addMenuAction(analysis, analysisItems[t], QStringLiteral("mnuanalysis%1").arg(t));
        connect(a, &QAction::triggered, this, [this, t] { selectAnalysisTab(t); });
        analysisActions_ << a;
    }

    struct ToolItem {
        const char* text;
        const char* name;
        const char* cls;
    };
    QMenu* select = bar->addMenu(QStringLiteral("选号过滤(&S)"));
    const ToolItem selectItems[] = {
        {"总体号码缩水过滤(&T)", "mnutotalfilt", "Tfrmtotalfilt"},
        {"旋转矩阵组号缩水(&X)", "mnujuzheng", "Tfrmjuzheng"},
        {"中奖偏态分析选号(&P)", "mnupiantai", "Tfrmpiantai"},
        {"中奖回补分析选号(&H)", "mnuyilou", "Tfrmyilou"},
        {"最优间隔回补选号(&L)", "mnusep", "Tfrmsep"},
        {"最优亲密数字选号(&Q)", "mnuqingmi", "Tfrmqingmi"},
        {"无穷重码排除选号(&C)", "mnuallcongma", "Tfrmallcongma"},
        {"无穷和值排除选号(&T)", "mnuallhei", "Tfrmallhei"},
        {"无穷偏态排除选号(&P)", "mnuallpiantai", "Tfrmallpiantai"},
        {"无穷跟随排除选号(&W)", "mnuallgensui", "Tfrmallgensui"},
        {"最优开奖干支选号(&G)", "mnuganzhi", "Tfrmganzhi"},
        {"最优四步综合选号(&Z)", "mnusibu", "Tfrmsibu"},
        {"最优复式搜索选号(&F)", "mnufushi", "Tfrmfushi"},
        {"    大底交集(&A)", "mnujiaoqi", "Tfrmjiaoqi"},
        {"保号缩水(&B)", "mnubaohao", "Tfrmbaohao"},
    };
    for (const ToolItem& item : selectItems) {
        QAction* a = addMenuAction(select, QString::fromUtf8(item.text), item.name);
        const QString cls = item.cls;
        connect(a, &QAction::triggered, this, [this, cls] { openToolWindow(cls); });
        toolActions_[cls] << a;
        // The wheel works on typed numbers alone: no lottery needed.
        if (cls != "Tfrmjuzheng")
            lotteryOnlyActions_ << a;
    }

    QMenu* invest = bar->addMenu(QStringLiteral("投资管理(&M)"));
    const ToolItem investItems[] = {
        {"固定投资计划(&D)", "mnugudingjihua", "Tfrmgudingjihua"},
        {"阶段投资计划(&J)", "mnujieduanjihua", "Tfrmjieduanjihua"},
        {"可变投资计划(&S)", "mnukeibianjihua", "Tfrmkeibianjihua"},
        {"投资模式分析(&Z)", "mnutozi", "Tfrmtozi"},
    };
    for (const ToolItem& item : investItems) {
        QAction* a = addMenuAction(invest, QString::fromUtf8(item.text), item.name);
        const QString cls = item.cls;
        connect(a, &QAction::triggered, this, [this, cls] { openToolWindow(cls); });
        toolActions_[cls] << a;
    }

    QMenu* tools = bar->addMenu(QStringLiteral("实用工具"));
    tools->setObjectName("mnutools");
    QAction* duijiang = addMenuAction(tools, QStringLiteral("对奖(&J)"), "mnuduijiang");
    connect(duijiang, &QAction::triggered, this, [this] { openToolWindow("Tfrmduijiang"); });
    toolActions_["Tfrmduijiang"] << duijiang;
    lotteryOnlyActions_ << duijiang;

    QMenu* webMenu = bar->addMenu(QStringLiteral("彩票网站(&W)"));
    const QStringList webItems = {QStringLiteral("Marvane彩票信息网"), QStringLiteral("中国体育彩票网"),
                                  QStringLiteral("中国福利彩票网"), QStringLiteral("中国时时彩官网")};
    for (int i = 0; i < webItems.size(); ++i) {
        QAction* a = addMenuAction(webMenu, webItems[i], QStringLiteral("mnuweb%1").arg(i + 1));
        connect(a, &QAction::triggered, this, [this, i] { openShell(web_.webSites.value(i)); });
    }

    QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
    connect(addMenuAction(help, QStringLiteral("使用帮助(&C)"), "mnuhelpcotent"), &QAction::triggered, this,
            [this] { openHelpPage(QStringLiteral("Zelvor帮助.html")); });
    connect(addMenuAction(help, QStringLiteral("官方网站(&G)"), "mnumyname"), &QAction::triggered, this,
            [this] { openShell(web_.homePage); });
    connect(addMenuAction(help, QStringLiteral("有事Q我(&M)"), "mnumail"), &QAction::triggered, this,
            [this] { openShell(web_.contactLink); });
    connect(addMenuAction(help, QStringLiteral("关于(&A)..."), "mnuhelpabout"), &QAction::triggered, this,
            [this] { mnuhelpaboutClick(); });
}

QAction* Tfrmmain::addToolAction(const QString& text, const QString& hint, const QString& name)
{
    QAction* a = tlbmain_->addAction(text);
    a->setObjectName(name);
    a->setToolTip(hint);
    return a;
}

void Tfrmmain::buildToolbar()
{
    tlbmain_ = addToolBar(QStringLiteral("工具栏"));
    tlbmain_->setObjectName("tlbmain");
    tlbmain_->setMovable(false);
    tlbmain_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tlbmain_->setIconSize(QSize(24, 24));
    QStyle* st = style();

    QAction* open = addToolAction(QStringLiteral("打开彩票"), QStringLiteral("打开彩票"), "tlbopen");
    open->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    connect(open, &QAction::triggered, this, [this] { mnuopenClick(); });
    QAction* data = addToolAction(QStringLiteral("彩票数据"), QStringLiteral("彩票数据"), "tlbdata");
    data->setIcon(st->standardIcon(QStyle::SP_FileDialogDetailedView));
    connect(data, &QAction::triggered, this, [this] { mnumoddataClick(); });
    QAction* ganzhi = addToolAction(QStringLiteral("干支选号"), QStringLiteral("最优开奖干支选号"), "tlbpiantai");
    ganzhi->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
    connect(ganzhi, &QAction::triggered, this, [this] { openToolWindow("Tfrmganzhi"); });
    toolActions_["Tfrmganzhi"] << ganzhi;
    QAction* sibu = addToolAction(QStringLiteral("四步选号"), QStringLiteral("最优四步综合选号"), "tlbyilou");
    sibu->setIcon(st->standardIcon(QStyle::SP_FileDialogListView));
    connect(sibu, &QAction::triggered, this, [this] { openToolWindow("Tfrmsibu"); });
    toolActions_["Tfrmsibu"] << sibu;
    QAction* total = addToolAction(QStringLiteral("总体过滤"), QStringLiteral("总体过滤"), "tlbala");
    total->setIcon(st->standardIcon(QStyle::SP_DialogApplyButton));
    connect(total, &QAction::triggered, this, [this] { openToolWindow("Tfrmtotalfilt"); });
    toolActions_["Tfrmtotalfilt"] << total;
    QAction* prize = addToolAction(QStringLiteral("对奖"), QStringLiteral("对奖"), "tlbduijiang");
    prize->setIcon(st->standardIcon(QStyle::SP_DialogYesButton));
    connect(prize, &QAction::triggered, this, [this] { openToolWindow("Tfrmduijiang"); });
    toolActions_["Tfrmduijiang"] << prize;
    QAction* standard = addToolAction(QStringLiteral("标准走势"), QStringLiteral("标准走势"), "tlbbiaozhun");
    standard->setIcon(st->standardIcon(QStyle::SP_BrowserReload));
    connect(standard, &QAction::triggered, this, [this] { tlbbiaozhunClick(); });
    QAction* variable = addToolAction(QStringLiteral("变幻走势"), QStringLiteral("变幻走势"), "tlbbianwan");
    variable->setIcon(st->standardIcon(QStyle::SP_MediaSeekForward));
    connect(variable, &QAction::triggered, this, [this] { tlbbianwanClick(); });
    lotteryOnlyActions_ << ganzhi << sibu << total << prize << standard << variable;
    QAction* demo = addToolAction(QStringLiteral("软件演示"), QStringLiteral("软件演示"), "tlbyansi");
    demo->setIcon(st->standardIcon(QStyle::SP_MediaPlay));
    // The demonstration is the manual's quick-start tour: the typical road, step by step, with pictures.
    connect(demo, &QAction::triggered, this, [this] { openHelpPage(QStringLiteral("tour.html")); });
    QAction* exit = addToolAction(QStringLiteral("退出"), QStringLiteral("退出系统"), "tlbexit");
    exit->setIcon(st->standardIcon(QStyle::SP_DialogCloseButton));
    connect(exit, &QAction::triggered, this, [this] { close(); });

    tabmain_ = new QTabBar(tlbmain_);
    tabmain_->setObjectName("tabmain");
    tabmain_->setExpanding(false);
    tabmain_->setDrawBase(false);
    auto* tabStyle = new CompactTabStyle(QApplication::style()->name());
    tabStyle->setParent(tabmain_);
    tabmain_->setStyle(tabStyle);
    for (const char* t : {"开奖号码走势", "号码大小分析", "号码奇偶分析", "号码和值分析", "号码跨度分析",
                          "号码散度分析", "号码偏度分析", "号码AC值分析", "号码重码分析", "号码区间分析"})
        tabmain_->addTab(QString::fromUtf8(t));
    tabAction_ = tlbmain_->addWidget(tabmain_);
    tabAction_->setVisible(false);
    tlbmain_->installEventFilter(this); // tlbmainResize: the tabs fit the new width
    // Every change by the user (click, keys, wheel) replaces the child; the
    // program's own selections block the signal.
    connect(tabmain_, &QTabBar::currentChanged, this, [this](int t) {
        if (t >= 0)
            tabmainChange(t);
    });
}

void Tfrmmain::buildBanner()
{
    pan_ = new QFrame(mdi_->viewport());
    pan_->setObjectName("pan");
    pan_->setFrameShape(QFrame::Box);
    pan_->resize(468, 60);
    imggif_ = new QLabel(pan_);
    imggif_->setObjectName("imggif");
    imggif_->setScaledContents(true);
    imggif_->setGeometry(0, 0, pan_->width(), pan_->height());
    imggif_->setCursor(Qt::PointingHandCursor);
    imggif_->installEventFilter(this);
    panclose_ = new QLabel(QStringLiteral("×"), pan_);
    panclose_->setObjectName("panclose");
    panclose_->setAlignment(Qt::AlignCenter);
    panclose_->setStyleSheet("background: white; color: black;");
    panclose_->setGeometry(pan_->width() - 16, 0, 16, 16);
    panclose_->setCursor(Qt::PointingHandCursor);
    panclose_->installEventFilter(this);
}

void Tfrmmain::fetchBanner()
{
    // Runs in the background: the window is shown at once and the banner
    // appears when both files have arrived. A newer fetch replaces an older one.
    const int generation = ++bannerGeneration_;
    const QString local = ProgramDir() + QStringLiteral("guanggao.gif");
    QFile::remove(local);
    pan_->hide();
    if (web_.bannerEndpoint.isEmpty())
        return;
    if (!net_) {
        net_ = new QNetworkAccessManager(this);
        net_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    }
    net_->setTransferTimeout(web_.bannerTimeoutMs);
    QString base = web_.bannerEndpoint;
    if (!base.endsWith('/'))
        base += '/';
    auto get = [this, base](const QString& file, std::function<void(const QByteArray*)> done) {
        QNetworkReply* reply = net_->get(QNetworkRequest(QUrl(base + file)));
        connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
            reply->deleteLater();
            const bool good = reply->error() == QNetworkReply::NoError
                              && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
            if (!good) {
                done(nullptr);
                return;
            }
            const QByteArray body = reply->readAll();
            done(&body);
        });
    };
    get(QStringLiteral("guanggao.gif"), [this, generation, local, get](const QByteArray* picture) {
        if (generation != bannerGeneration_ || !picture)
            return;
        QSaveFile f(local);
        if (!(f.open(QIODevice::WriteOnly) && f.write(*picture) == picture->size() && f.commit()))
            return;
        // The link text is fetched as a check of the endpoint; it is not used further.
        get(QStringLiteral("ggurl.txt"), [this, generation, local](const QByteArray* link) {
            QPixmap pix;
            if (generation != bannerGeneration_ || !link || !pix.load(local))
                return;
            imggif_->setPixmap(pix);
            pan_->show();
            placeBanner();
            emit bannerShown();
        });
    });
}

void Tfrmmain::loadBackground()
{
    const QString path = ProgramFile(QStringLiteral("图片/back.bmp"));
    if (!back_.load(path)) {
        // Reported, not fatal: the window opens on its plain colour.
        QTimer::singleShot(0, this, [path] { showGeneralError(QStringLiteral("无法载入图片：%1").arg(path)); });
        mdi_->setBackground(QColor(192, 192, 192));
        return;
    }
    applyBackground();
}

void Tfrmmain::applyBackground()
{
    if (back_.isNull())
        return;
    const QSize size = mdi_->viewport()->size();
    if (size.isEmpty())
        return;
    mdi_->setBackground(QBrush(back_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void Tfrmmain::placeBanner()
{
    if (!pan_)
        return;
    const int w = mdi_->viewport()->width();
    pan_->move((w - pan_->width()) / 2, 8);
    pan_->raise();
}

void Tfrmmain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    applyBackground();
    placeBanner();
}

void Tfrmmain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    applyBackground();
    placeBanner();
}

void Tfrmmain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        updateMenuState();
}

void Tfrmmain::fitTabStrip()
{
    // All ten tabs in view beside the buttons: the tab font gives up half a
    // point at a time (down to 7.5 points) until the strip fits; scroll
    // arrows remain for windows narrower still.
    const QWidget* exit = tlbmain_->widgetForAction(tlbmain_->findChild<QAction*>("tlbexit"));
    if (!exit || !tabAction_->isVisible())
        return;
    const int room = tlbmain_->contentsRect().right() - exit->geometry().right() - tlbmain_->layout()->spacing() - 10;
    QFont f = font();
    const qreal full = f.pointSizeF();
    for (qreal size = full; size >= 7.5; size -= 0.5) {
        f.setPointSizeF(size);
        tabmain_->setFont(f);
        if (tabmain_->sizeHint().width() <= room)
            break;
    }
}

bool Tfrmmain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tlbmain_ && event->type() == QEvent::Resize)
        fitTabStrip();
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == panclose_) {
            pan_->hide();
            return true;
        }
        if (watched == imggif_) {
            openShell(web_.bannerLink);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tfrmmain::openShell(const QString& target)
{
    if (target.isEmpty())
        return;
    // The shell's answer is not examined: an unreachable site gives no message.
    if (target.contains("://"))
        dialogs().openUrl(QUrl(target));
    else
        dialogs().openUrl(QUrl::fromLocalFile(target));
}

void Tfrmmain::openHelpPage(const QString& page)
{
    // A page of the manual in 帮助/, shown by the desktop's browser. A missing
    // page or a desktop without a browser is said, naming the file.
    const QString path = ProgramFile(QStringLiteral("帮助/") + page);
    if (!QFileInfo::exists(path)) {
        showError(this, QStringLiteral("找不到帮助文件：%1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!dialogs().openUrl(QUrl::fromLocalFile(path)))
        showError(this, QStringLiteral("无法打开帮助文件：%1").arg(QDir::toNativeSeparators(path)));
}

void Tfrmmain::mnuopenClick()
{
    CloseLottery();
    if (!index_) {
        index_ = new Tfrmindex(context_.state, this);
        connect(index_, &Tfrmindex::lotteryOpened, this, [this] {
            enterOpenedState();
            // The dialog is forgotten after an open, so the next one is fresh.
            Tfrmindex* dlg = index_;
            index_ = nullptr;
            dlg->deleteLater();
        });
    }
    index_->exec();
}

void Tfrmmain::enterOpenedState()
{
    tabAction_->setVisible(true);
    fitTabStrip();
    {
        QSignalBlocker block(tabmain_);
        tabmain_->setCurrentIndex(0);
    }
    setWindowTitle(QStringLiteral("Zelvor《") + QString::fromStdString(context_.state.CurrentLottery().name)
                   + QStringLiteral("》"));
    updateMenuState();
    closeChildren();
    createChild(0);
}

void Tfrmmain::closeChildren()
{
    // Taken out of the area at once; deleted when control is back in the
    // event loop (the tab change may come from one of the child's own controls).
    const QList<QMdiSubWindow*> subs = mdi_->subWindowList(QMdiArea::CreationOrder);
    for (int i = subs.size() - 1; i >= 0; --i) {
        QMdiSubWindow* sub = subs[i];
        mdi_->removeSubWindow(sub);
        sub->hide();
        sub->deleteLater();
    }
}

void Tfrmmain::CloseLottery()
{
    context_.state.CloseLottery();
    closeChildren();
    // A tool window may be running a loop of its own: it is asked to stop and
    // deleted once its handler has returned, never from under it.
    for (const QString& cls : toolWindowClasses()) {
        retireWindow(tools_.value(cls));
    }
    tools_.clear();
    // The download window goes too; its fetch ends with it.
    if (download_)
        download_->close();
    tabAction_->setVisible(false);
    setWindowTitle("Zelvor");
    updateMenuState();
}

void Tfrmmain::selectAnalysisTab(int tab)
{
    if (!context_.state.LotteryOpen())
        return;
    {
        QSignalBlocker block(tabmain_);
        tabmain_->setCurrentIndex(tab);
    }
    tabmainChange(tab);
}

void Tfrmmain::tabmainChange(int tab)
{
    closeChildren();
    createChild(tab);
}

void Tfrmmain::createChild(int tab)
{
    WindowFactory factory = childWindowFactory(tab);
    if (!factory)
        return;
    QWidget* w = nullptr;
    if (!guarded([&] { w = factory(context_, nullptr); }) || !w)
        return;
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi_->addSubWindow(w, Qt::FramelessWindowHint);
    sub->setObjectName(childWindowClass(tab) + "_sub");
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();
}

QWidget* Tfrmmain::currentChild() const
{
    const QList<QMdiSubWindow*> subs = mdi_->subWindowList();
    return subs.isEmpty() ? nullptr : subs.last()->widget();
}

QWidget* Tfrmmain::openToolWindow(const QString& className)
{
    QWidget* w = tools_.value(className);
    if (!w) {
        WindowFactory factory = toolWindowFactory(className);
        if (!factory)
            return nullptr;
        if (!guarded([&] { w = factory(context_, this); }) || !w)
            return nullptr;
        // Tool windows are top-level windows kept on top of the frame.
        w->setParent(this, w->windowFlags() | Qt::Window);
        // Clear of the toolbar when first shown, at the size the window
        // asked for where the screen has the room.
        placeOnFirstShow(w);
        tools_[className] = w;
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void Tfrmmain::notifyTrend(TrendMode mode)
{
    for (const QString& cls : trendFollowingTools()) {
        QWidget* w = tools_.value(cls);
        if (!w) {
            WindowFactory factory = toolWindowFactory(cls);
            if (!factory || !guarded([&] { w = factory(context_, this); }) || !w)
                continue;
            w->setParent(this, w->windowFlags() | Qt::Window);
            w->hide();
            tools_[cls] = w;
        }
        if (auto* follower = dynamic_cast<TrendFollower*>(w))
            follower->trendChanged(mode);
    }
    if (auto* follower = dynamic_cast<TrendFollower*>(currentChild()))
        follower->trendChanged(mode);
    else if (QWidget* child = currentChild())
        child->update();
}

void Tfrmmain::tlbbiaozhunClick()
{
    if (!context_.state.LotteryOpen())
        return;
    if (!guarded([this] { context_.state.BuildStandardTrend(); }))
        return;
    notifyTrend(TrendMode::Standard);
}

void Tfrmmain::tlbbianwanClick()
{
    if (!context_.state.LotteryOpen())
        return;
    if (!guarded([this] { context_.state.BuildVariableTrend(context_.random); }))
        return;
    notifyTrend(TrendMode::Variable);
}

void Tfrmmain::switchToVariableView(const VariableSettings& view)
{
    if (!context_.state.LotteryOpen())
        return;
    if (!guarded([this, &view] { context_.state.BuildVariableTrend(view); }))
        return;
    notifyTrend(TrendMode::Variable);
}

void Tfrmmain::updateMenuState()
{
    const bool open = context_.state.LotteryOpen();
    for (QAction* a : analysisActions_)
        a->setEnabled(open);
    for (QAction* a : lotteryOnlyActions_)
        a->setEnabled(open);
    // A tool whose window is not part of this build stays disabled.
    for (auto it = toolActions_.cbegin(); it != toolActions_.cend(); ++it) {
        const bool available = static_cast<bool>(toolWindowFactory(it.key()));
        for (QAction* a : it.value())
            a->setEnabled(available && (open || !lotteryOnlyActions_.contains(a)));
    }
    for (QAction* a : unavailableActions_)
        a->setEnabled(false);
}

void Tfrmmain::mnumoddataClick()
{
    CloseLottery();
    if (dataEditor_)
        return;
    auto* dlg = new Tfrmdata(this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dataEditor_ = dlg;
    dlg->open();
}

void Tfrmmain::mnudownloadClick()
{
    CloseLottery();
    auto* dlg = new Tfrmdownload2(this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    download_ = dlg;
    dlg->open();
}

void Tfrmmain::mnubackupdataClick()
{
    const QString target = dialogs().saveFileName(this, ShellFolderPath("Desktop"), QStringLiteral("彩票数据"),
                                                  QStringLiteral("数据库(*.mdb)"), "mdb");
    if (target.isEmpty())
        return;
    // The open lottery stays open: the copy is taken through SQLite's own reader.
    try {
        backupDatabase(DatabaseFile(), target);
    } catch (const Error& e) {
        showError(this, QString::fromStdString(e.what()));
        return;
    }
    showInformation(this, QStringLiteral("成功备份！"));
}

void Tfrmmain::mnustoredataClick()
{
    CloseLottery();
    const QString source =
        dialogs().openFileName(this, ShellFolderPath("Desktop"), QString(), QStringLiteral("数据库(*.mdb)"));
    if (source.isEmpty())
        return;
    try {
        restoreDatabase(source, DatabaseFile());
    } catch (const Error& e) {
        showError(this, QString::fromStdString(e.what()));
        return;
    }
    showInformation(this, QStringLiteral("成功恢复！"));
}

void Tfrmmain::mnuhelpaboutClick()
{
    if (!about_)
        about_ = new Tfrmabout(this);
    auto* about = static_cast<Tfrmabout*>(about_.data());
    about->show();
    about->raise();
    if (!about->missingFiles().isEmpty())
        showGeneralError(QStringLiteral("无法读取文件：%1").arg(about->missingFiles().join(QStringLiteral("、"))));
}

} // namespace zelvor
