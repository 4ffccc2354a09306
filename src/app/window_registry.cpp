#include "app/window_registry.h"

#include <QWidget>
#include <map>

#include "advisers/u_adviser.h"
#include "analysis/u_code.h"
#include "analysis/u_metric.h"
#include "analysis/u_piantai.h"
#include "analysis/u_qujian.h"
#include "filter/u_baohao.h"
#include "filter/u_duijiang.h"
#include "filter/u_juzheng.h"
#include "filter/u_fushi.h"
#include "filter/u_jiaoqi.h"
#include "filter/u_allcongma.h"
#include "filter/u_allgensui.h"
#include "filter/u_allhei.h"
#include "filter/u_allpiantai.h"
#include "filter/u_totalfilt.h"
#include "invest/u_jihua.h"
#include "invest/u_tozi.h"
#include "ui/app_context.h"

namespace zelvor {

namespace {

template <class Window> QWidget* make(AppContext& context, QWidget* parent)
{
    return new Window(context, parent);
}

const std::map<QString, WindowFactory>& toolFactories()
{
    static const std::map<QString, WindowFactory> table = {
        {"Tfrmtotalfilt", make<Tfrmtotalfilt>},
        {"Tfrmjuzheng", make<Tfrmjuzheng>},
        {"Tfrmbaohao", make<Tfrmbaohao>},
        {"Tfrmpiantai", make<Tfrmpiantai>},
        {"Tfrmyilou", make<Tfrmyilou>},
        {"Tfrmfushi", make<Tfrmfushi>},
        {"Tfrmjiaoqi", make<Tfrmjiaoqi>},
        {"Tfrmsep", make<Tfrmsep>},
        {"Tfrmqingmi", make<Tfrmqingmi>},
        {"Tfrmsibu", make<Tfrmsibu>},
        {"Tfrmganzhi", make<Tfrmganzhi>},
        {"Tfrmgudingjihua", make<Tfrmgudingjihua>},
        {"Tfrmjieduanjihua", make<Tfrmjieduanjihua>},
        {"Tfrmkeibianjihua", make<Tfrmkeibianjihua>},
        {"Tfrmtozi", make<Tfrmtozi>},
        {"Tfrmallcongma", make<Tfrmallcongma>},
        {"Tfrmallhei", make<Tfrmallhei>},
        {"Tfrmallpiantai", make<Tfrmallpiantai>},
        {"Tfrmallgensui", make<Tfrmallgensui>},
        {"Tfrmduijiang", make<Tfrmduijiang>},
    };
    return table;
}

const std::map<QString, WindowFactory>& childFactories()
{
    static const std::map<QString, WindowFactory> table = {
        {"Tfrmcode", make<Tfrmcode>},
        {"Tfrmdaxiao", make<Tfrmdaxiao>},
        {"Tfrmjiou", make<Tfrmjiou>},
        {"Tfrmhei", make<Tfrmhei>},
        {"Tfrmkuadu", make<Tfrmkuadu>},
        {"Tfrmsandu", make<Tfrmsandu>},
        {"Tfrmpiandu", make<Tfrmpiandu>},
        {"Tfrmac", make<Tfrmac>},
        {"Tfrmcongma", make<Tfrmcongma>},
        {"Tfrmqujian", make<Tfrmqujian>},
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
        "Tfrmsibu",        "Tfrmfushi",        "Tfrmdownload2",    "Tfrmjiaoqi",      "Tfrmbaohao",
        "Tfrmduijiang",
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
