#include "app/window_registry.h"

#include <QWidget>
#include <map>

#include "ui/app_context.h"

namespace zelvor {

namespace {

// Until the trend window exists, the opened state shows an empty child.
QWidget* emptyChild(AppContext&, QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName("frmempty");
    return w;
}

const std::map<QString, WindowFactory>& toolFactories()
{
    static const std::map<QString, WindowFactory> table = {
    };
    return table;
}

const std::map<QString, WindowFactory>& childFactories()
{
    static const std::map<QString, WindowFactory> table = {
        {"Tfrmcode", emptyChild},
    };
    return table;
}

} // namespace

WindowFactory toolWindowFactory(const QString& className)
{
    auto it = toolFactories().find(className);
    return it == toolFactories().end() ? WindowFactory() : it->second;
}

const QStringList& toolWindowClasses()
{
    static const QStringList classes = {
        "Tfrmgudingjihua", "Tfrmjieduanjihua", "Tfrmkeibianjihua", "Tfrmtozi",   "Tfrmtotalfilt",
        "Tfrmjuzheng",     "Tfrmpiantai",      "Tfrmyilou",        "Tfrmsep",    "Tfrmqingmi",
        "Tfrmallcongma",   "Tfrmallhei",       "Tfrmallpiantai",   "Tfrmallgensui", "Tfrmganzhi",
        "Tfrmsibu",        "Tfrmfushi",        "Tfrmdownload2",    "Tfrmjiaoqi",
    };
    return classes;
}

QString childWindowClass(int tab)
{
    static const QStringList classes = {"Tfrmcode", "Tfrmdaxiao", "Tfrmjiou",  "Tfrmhei",     "Tfrmkuadu",
                                        "Tfrmsandu", "Tfrmpiandu", "Tfrmac",    "Tfrmcongma",  "Tfrmqujian"};
    return tab >= 0 && tab < classes.size() ? classes[tab] : QString();
}

WindowFactory childWindowFactory(int tab)
{
    auto it = childFactories().find(childWindowClass(tab));
    return it == childFactories().end() ? WindowFactory() : it->second;
}

const QStringList& trendFollowingTools()
{
    static const QStringList tools = {"Tfrmtotalfilt"};
    return tools;
}

} // namespace zelvor
