#pragma once
// Tfrmmain: the program's frame — menus, toolbar with the analysis tabs,
// background picture, banner, and the references of every tool window.
#include <QMainWindow>
#include <QMap>
#include <QPixmap>
#include <QPointer>

#include "data/program_dir.h"
#include "data/u_index.h"
#include "ui/app_context.h"

class QAction;
class QDialog;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QNetworkAccessManager;
class QMenu;
class QTabBar;
class QToolBar;

namespace zelvor {



class Tfrmmain : public QMainWindow, public MainWindowApi {
    Q_OBJECT
public:
    explicit Tfrmmain(AppContext& context, QWidget* parent = nullptr);
    ~Tfrmmain() override;

    // File menu.
    void mnuopenClick();
    void mnucloseClick() { CloseLottery(); }
    // Put the window into the opened state after OpenLottery.
    void enterOpenedState();
    void CloseLottery();
    // Select tab t and replace the child window (the menu items of 数据分析).
    void selectAnalysisTab(int tab);
    void tabmainChange(int tab);
    // Show a tool window, creating it on first use; nullptr when unavailable.
    QWidget* openToolWindow(const QString& className) override;
    QWidget* toolWindow(const QString& className) const { return tools_.value(className); }
    QWidget* currentChild() const;
    Tfrmindex* catalogueDialog() const { return index_; }

    // Trend switches ("标准走势", "变幻走势").
    void tlbbiaozhunClick();
    void tlbbianwanClick();
    void switchToStandardTrend() override { tlbbiaozhunClick(); }
    void switchToVariableTrend() override { tlbbianwanClick(); }
    void switchToVariableView(const VariableSettings& view) override;

    void updateMenuState();

    // 彩票数据 menu: the editor and the download (modal windows), backup and restore.
    void mnumoddataClick();
    void mnudownloadClick();
    void mnubackupdataClick();
    void mnustoredataClick();
    void mnuhelpaboutClick();
    QWidget* dataEditor() const { return dataEditor_; }
    QWidget* downloadWindow() const { return download_; }
    QWidget* aboutWindow() const { return about_; }
    // Starts fetching the banner in the background (bounded by a short
    // timeout); it shows when both files have arrived and stays hidden otherwise.
    void fetchBanner();

signals:
    void bannerShown();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildBanner();
    void loadBackground();
    void applyBackground();
    void placeBanner();
    void fitTabStrip();
    void closeChildren();
    void createChild(int tab);
    void notifyTrend(TrendMode mode);
    QAction* addMenuAction(QMenu* menu, const QString& text, const QString& name);
    QAction* addToolAction(const QString& text, const QString& hint, const QString& name);
    void openShell(const QString& target);
    void openHelpPage(const QString& page);

    AppContext& context_;
    QMdiArea* mdi_ = nullptr;
    QToolBar* tlbmain_ = nullptr;
    QTabBar* tabmain_ = nullptr;
    QAction* tabAction_ = nullptr;
    QFrame* pan_ = nullptr;
    QLabel* imggif_ = nullptr;
    QLabel* panclose_ = nullptr;
    QPixmap back_;
    WebSettings web_;
    QNetworkAccessManager* net_ = nullptr;
    int bannerGeneration_ = 0;
    QPointer<Tfrmindex> index_;
    QPointer<QWidget> dataEditor_;
    QPointer<QWidget> download_;
    QPointer<QDialog> about_;
    QMap<QString, QPointer<QWidget>> tools_;
    // Actions by the window class they open, for the menu state.
    QMap<QString, QList<QAction*>> toolActions_;
    QList<QAction*> analysisActions_;
    QList<QAction*> lotteryOnlyActions_;
    QList<QAction*> unavailableActions_;
};

} // namespace zelvor
