#include "ui/number_panels.h"

#include <algorithm>

#include <QGridLayout>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>

namespace zelvor {

NumberPanel::NumberPanel(int number, QWidget* parent) : QFrame(parent), number_(number)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setMinimumSize(26, 22);
    // Panels share their group box's width; their height stays that of a row of text.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(std::max(22, fontMetrics().height() + 10));
}

void NumberPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

QColor NumberPanel::background() const
{
    const QWidget* w = window();
    return (w ? w : this)->palette().color(QPalette::Window);
}

void NumberPanel::setColour(const QColor& colour)
{
    const QColor next = colour == background() ? QColor() : colour;
    if (next == colour_)
        return;
    colour_ = next;
    update();
}

void NumberPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void NumberPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        event->accept();
        if (rect().contains(event->position().toPoint()))
            emit clicked(number_);
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void NumberPanel::paintEvent(QPaintEvent* event)
{
    {
        QPainter p(this);
        p.fillRect(rect(), colour());
        if (!caption_.isEmpty()) {
            const bool chosen = colour_.isValid();
            p.setPen(chosen ? QColor(Qt::white) : palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                                                  QPalette::WindowText));
            p.drawText(rect(), Qt::AlignCenter, caption_);
        }
    }
    QFrame::paintEvent(event); // the bevel
}

NumberPanels::NumberPanels(QGroupBox* box, int count, int columns, int range, const QColor& chosenColour,
                           const QString& namePrefix)
    : QObject(box), range_(range), chosenColour_(chosenColour)
{
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setSpacing(2);
    for (int n = 1; n <= count; ++n) {
        auto* panel = new NumberPanel(n, box);
        panel->setObjectName(namePrefix + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
        if (n <= range) {
            panel->setCaption(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
            panel->setCursor(Qt::PointingHandCursor);
        } else {
            panel->setEnabled(false);
        }
        connect(panel, &NumberPanel::clicked, this, [this](int number) {
            if (NumberPanel* p = this->panel(number); p && p->isEnabled())
                emit panelClicked(number);
        });
        grid->addWidget(panel, (n - 1) / columns, (n - 1) % columns);
        panels_.append(panel);
    }
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
    for (int r = 0; r < (count + columns - 1) / columns; ++r)
        grid->setRowStretch(r, 1);
}

NumberPanel* NumberPanels::panel(int number) const
{
    return number >= 1 && number <= panels_.size() ? panels_[number - 1] : nullptr;
}

bool NumberPanels::isChosen(int number) const
{
    const NumberPanel* p = panel(number);
    return p && p->colour() != p->background();
}

void NumberPanels::setChosen(int number, bool chosen)
{
    if (number < 1 || number > range_)
        return;
    NumberPanel* p = panel(number);
    p->setColour(chosen ? chosenColour_ : p->background());
}

void NumberPanels::clearChoice()
{
    for (NumberPanel* p : panels_)
        p->setColour(p->background());
}

void NumberPanels::choose(const std::vector<int>& numbers)
{
    clearChoice();
    for (int n : numbers)
        setChosen(n, true);
}

std::vector<int> NumberPanels::chosenNumbers() const
{
    std::vector<int> out;
    for (int n = 1; n <= range_ && n <= panels_.size(); ++n)
        if (isChosen(n))
            out.push_back(n);
    return out;
}

} // namespace zelvor
