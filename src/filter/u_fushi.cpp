#include "filter/u_fushi.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/error.h"
#include "data/lottery_state.h"
#include "filter/compound_search.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/event_pump.h"

namespace zelvor {

namespace {
const QString kStart = QStringLiteral("开始搜索");
const QString kStop = QStringLiteral("停止");
} // namespace

Tfrmfushi::Tfrmfushi(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context)
{
    setObjectName("frmfushi");
    setWindowTitle(QStringLiteral("自动复式搜索"));
    auto* root = new QVBoxLayout(this);

    auto* row1 = new QHBoxLayout;
    root->addLayout(row1);
    row1->addWidget(new QLabel(QStringLiteral("号码个数："), this));
    edtnum_ = new QLineEdit(QString::number(context.state.CurrentLottery().numberRange - 5), this);
    edtnum_->setObjectName("edtnum");
    row1->addWidget(edtnum_);
    chkyilou_ = new QCheckBox(QStringLiteral("遗漏期数>="), this);
    chkyilou_->setObjectName("chkyilou");
    chkyilou_->setChecked(true);
    row1->addWidget(chkyilou_);
    edtyilouqishu_ = new QLineEdit(QStringLiteral("50"), this);
    edtyilouqishu_->setObjectName("edtyilouqishu");
    row1->addWidget(edtyilouqishu_);
    btnsou_ = new QPushButton(kStart, this);
    btnsou_->setObjectName("btnsou");
    row1->addWidget(btnsou_);
    connect(btnsou_, &QPushButton::clicked, this, &Tfrmfushi::btnsouClick);

    auto* row2 = new QHBoxLayout;
    root->addLayout(row2);
    row2->addWidget(new QLabel(QStringLiteral("复式号码："), this));
    edtfushicode_ = new QLineEdit(this);
    edtfushicode_->setObjectName("edtfushicode");
    edtfushicode_->setMinimumWidth(420);
    row2->addWidget(edtfushicode_, 1);
    btncopy_ = new QPushButton(QStringLiteral("复制"), this);
    btncopy_->setObjectName("btncopy");
    row2->addWidget(btncopy_);
    connect(btncopy_, &QPushButton::clicked, this, &Tfrmfushi::btncopyClick);
    edtcopy_ = new QLineEdit(this);
    edtcopy_->setObjectName("edtcopy");
    edtcopy_->hide();
}

void Tfrmfushi::btnsouClick()
{
    if (btnsou_->text() == kStop) {
        // The running search notices at the start of its next pass.
        stopRequested_ = true;
        backToStandard();
        btnsou_->setText(kStart);
        return;
    }
    if (running_)
        return; // a stopped search has not yet left its loop
    search();
}

void Tfrmfushi::backToStandard()
{
    if (context_.main)
        context_.main->switchToStandardTrend();
    else if (context_.state.LotteryOpen())
        guarded([this] { context_.state.BuildStandardTrend(); });
}

bool Tfrmfushi::buildView()
{
    if (views_) {
        const std::optional<VariableSettings> view = views_();
        if (!view)
            return false;
        if (context_.main)
            context_.main->switchToVariableView(*view);
        else
            context_.state.BuildVariableTrend(*view);
    } else if (context_.main) {
        context_.main->switchToVariableTrend();
    } else {
        context_.state.BuildVariableTrend(context_.random);
    }
    return context_.state.TrendMode() == TrendMode::Variable;
}

void Tfrmfushi::search()
{
    const LotteryParams lottery = context_.state.CurrentLottery();
    CompoundSettings settings;
    if (!tryParseInteger(edtnum_->text().toStdString(), settings.wanted)) {
        showError(this, QString::fromStdString(integerConversionMessage(edtnum_->text().toStdString())));
        return;
    }
    settings.useThreshold = chkyilou_->isChecked();
    if (!tryParseInteger(edtyilouqishu_->text().toStdString(), settings.threshold)) {
        showError(this, QString::fromStdString(integerConversionMessage(edtyilouqishu_->text().toStdString())));
        return;
    }
    const std::string refusal = compoundRefusal(lottery, context_.state.DrawCount(), settings);
    if (!refusal.empty()) {
        showError(this, QString::fromStdString(refusal));
        return;
    }

    BusyScope busy(this, running_, {edtnum_, chkyilou_, edtyilouqishu_, btncopy_});
    stopRequested_ = false;
    passes_ = 0;
    btnsou_->setText(kStop);
    CompoundSearch search(lottery.numberRange, settings);
    EventPump pump;
    while (true) {
        pump.pumpNow();
        if (stopRequested_ || btnsou_->text() == kStart || !context_.state.LotteryOpen())
            return;
        if (!buildView()) {
            // No view to take (or the build failed): ends as a stop does.
            backToStandard();
            btnsou_->setText(kStart);
            return;
        }
        const CompoundPass p = search.pass(context_.state.Variable());
        passes_ = search.passes();
        emit passDone(passes_, p.struck, p.left);
        if (search.done()) {
            backToStandard();
            edtfushicode_->setText(QString::fromStdString(search.resultText()));
            btnsou_->setText(kStart);
            return;
        }
    }
}

void Tfrmfushi::btncopyClick()
{
    edtcopy_->setText(edtfushicode_->text());
    QApplication::clipboard()->setText(edtcopy_->text());
}

} // namespace zelvor
