#include "ui/cover_link.h"

#include <QMetaObject>
#include <QWidget>

#include "ui/app_context.h"

namespace zelvor {

void coverShownList(AppContext& context)
{
    if (!context.main)
        return;
    if (QWidget* cover = context.main->openToolWindow(QStringLiteral("Tfrmbaohao")))
        QMetaObject::invokeMethod(cover, "btnlistClick");
}

} // namespace zelvor
