#include "ui/recent_count.h"

#include <QComboBox>
#include <QLineEdit>
#include <memory>

#include "analysis/metric_analysis.h"
#include "common/error.h"
#include "ui/dialogs.h"

namespace zelvor {

bool readRecentCount(QWidget* parent, const QString& text, int drawCount, int& R)
{
    if (text == QString::fromUtf8(kAllDrawsItem)) {
        R = drawCount;
        return true;
    }
    int value = 0;
    if (!tryParseInteger(text.toStdString(), value)) {
        showError(parent, QString::fromStdString(integerConversionMessage(text.toStdString())));
        return false;
    }
    // A count of 0 or less would chart nothing and name "最近-5期" in the summary.
    if (value <= 0) {
        showError(parent, QStringLiteral("最近期数必须大于0！"));
        return false;
    }
    R = value;
    return true;
}

QComboBox* makeRecentCountBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName("comzuijingqishu");
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(6);
    box->setMaxVisibleItems(20);
    return box;
}

void fillRecentCountBox(QComboBox* box, int drawCount)
{
    box->clear();
    QStringList items;
    for (const std::string& item : recentCountItems(drawCount))
        items << QString::fromStdString(item);
    box->addItems(items);
    const QString shown = QString::number(kDefaultRecentCount);
    const int at = box->findText(shown);
    if (at >= 0)
        box->setCurrentIndex(at);
    else
        box->setEditText(shown);
}

void connectRecentCountBox(QComboBox* box, QObject* owner, const std::function<bool()>& apply,
                           const std::function<void()>& recount)
{
    // A chosen item, a finished edit and Enter may all report the same text;
    // it is read once, so a refused text shows its message once.
    struct Last {
        QString text;
        bool ok = true;
    };
    auto last = std::make_shared<Last>();
    last->text = box->currentText();
    auto applyOnce = [box, apply, last] {
        if (box->currentText() != last->text) {
            last->text = box->currentText();
            last->ok = apply();
        }
        return last->ok;
    };
    QObject::connect(box, &QComboBox::textActivated, owner, [applyOnce] { applyOnce(); });
    if (QLineEdit* edit = box->lineEdit()) {
        QObject::connect(edit, &QLineEdit::editingFinished, owner, [applyOnce] { applyOnce(); });
        QObject::connect(edit, &QLineEdit::returnPressed, owner, [applyOnce, recount] {
            if (applyOnce())
                recount();
        });
    }
}

} // namespace zelvor
