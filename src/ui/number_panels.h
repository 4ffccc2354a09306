#pragma once
// Clickable coloured number panels in a group box (the red and blue number
// choices of the filtering windows). A panel's colour is its state: chosen
// panels carry the group's colour, unchosen ones the window background.
#include <QColor>
#include <QFrame>
#include <QList>
#include <QObject>
#include <vector>

class QGroupBox;

namespace zelvor {

class NumberPanel : public QFrame {
    Q_OBJECT
public:
    NumberPanel(int number, QWidget* parent = nullptr);
    int number() const { return number_; }
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The colour shown; a panel is chosen when it differs from background().
    QColor colour() const { return colour_.isValid() ? colour_ : background(); }
    void setColour(const QColor& colour);
    // The window background colour.
    QColor background() const;

signals:
    void clicked(int number);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int number_;
    QString caption_;
    QColor colour_; // invalid: the window background, whatever it is now
    bool pressed_ = false;
};

// `count` panels numbered 1..count in rows of `columns` filling `box` evenly.
// Panels above `range` have no caption and are disabled.
class NumberPanels : public QObject {
    Q_OBJECT
public:
    NumberPanels(QGroupBox* box, int count, int columns, int range, const QColor& chosenColour,
                 const QString& namePrefix);

    int count() const { return static_cast<int>(panels_.size()); }
    int range() const { return range_; }
    NumberPanel* panel(int number) const;
    bool isChosen(int number) const;
    // Chooses or unchooses one number (numbers outside 1..range are ignored).
    void setChosen(int number, bool chosen);
    void toggle(int number) { setChosen(number, !isChosen(number)); }
    // Unchooses every panel, also the disabled ones.
    void clearChoice();
    // Unchooses every panel, then chooses the given numbers.
    void choose(const std::vector<int>& numbers);
    // The chosen numbers of 1..range, ascending.
    std::vector<int> chosenNumbers() const;
    QColor chosenColour() const { return chosenColour_; }

signals:
    // An enabled panel was clicked; the owner decides whether it toggles.
    void panelClicked(int number);

private:
    QList<NumberPanel*> panels_;
    int range_;
    QColor chosenColour_;
};

} // namespace zelvor
