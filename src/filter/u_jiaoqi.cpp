#include "filter/u_jiaoqi.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/error.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "filter/betlist.h"
#include "filter/intersection.h"
#include "ui/bet_list_view.h"
#include "ui/cover_link.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/event_pump.h"

namespace zelvor {

namespace {
const QString kResult = QStringLiteral("最终交集：");
}

Tfrmjiaoqi::Tfrmjiaoqi(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), context_(context)
{
    setObjectName("frmjiaoqi");
    setWindowTitle(QStringLiteral("多重大底交集"));
    auto* root = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    root->addLayout(left, 1);
    left->addWidget(new QLabel(QStringLiteral("原始大底："), this));
    lstdadi_ = new QListWidget(this);
    lstdadi_->setObjectName("lstdadi");
    lstdadi_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    left->addWidget(lstdadi_, 1);
    connect(lstdadi_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { lstdadiDblClick(lstdadi_->row(item)); });

    auto* tol = new QHBoxLayout;
    left->addLayout(tol);
    tol->addWidget(new QLabel(QStringLiteral("交集容错："), this));
    edtnum1_ = new QLineEdit(QStringLiteral("0"), this);
    edtnum1_->setObjectName("edtnum1");
    tol->addWidget(edtnum1_);
    tol->addWidget(new QLabel(QStringLiteral("到"), this));
    edtnum2_ = new QLineEdit(QStringLiteral("0"), this);
    edtnum2_->setObjectName("edtnum2");
    tol->addWidget(edtnum2_);

    auto* opt = new QGroupBox(this);
    opt->setObjectName("optteima");
    auto* optLayout = new QGridLayout(opt);
    optGroup_ = new QButtonGroup(opt);
    const QString optTexts[4] = {QStringLiteral("导入特码"), QStringLiteral("不选特码"), QStringLiteral("全选特码"),
                                 QStringLiteral("输入特码")};
    for (int i = 0; i < 4; ++i) {
        opt_[i] = new QRadioButton(optTexts[i], opt);
        optLayout->addWidget(opt_[i], i / 2, i % 2);
        optGroup_->addButton(opt_[i], i);
    }
    opt_[0]->setChecked(true);
    connect(optGroup_, &QButtonGroup::idClicked, this, [this](int) { optteimaClick(); });
    left->addWidget(opt);

    auto* typed = new QHBoxLayout;
    left->addLayout(typed);
    typed->addWidget(new QLabel(QStringLiteral("输入特码："), this));
    edtteima_ = new QLineEdit(this);
    edtteima_->setObjectName("edtteima");
    edtteima_->setEnabled(false);
    typed->addWidget(edtteima_);

    auto addButton = [&](const QString& text, const char* name, void (Tfrmjiaoqi::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, handler);
        left->addWidget(b);
        return b;
    };
    btndaoru_ = addButton(QStringLiteral("导入大底"), "btndaoru", &Tfrmjiaoqi::btndaoruClick);
    btnjiaoqi_ = addButton(QStringLiteral("大底交集"), "btnjiaoqi", &Tfrmjiaoqi::btnjiaoqiClick);
    btnsave_ = addButton(QStringLiteral("保存号码"), "btnsave", &Tfrmjiaoqi::btnsaveClick);
    btncls_ = addButton(QStringLiteral("清空所有"), "btncls", &Tfrmjiaoqi::btnclsClick);
    addButton(QStringLiteral("保号缩水"), "btnbaohao", &Tfrmjiaoqi::btnbaohaoClick);
    addButton(QStringLiteral("关闭"), "btnclose", &Tfrmjiaoqi::btncloseClick);

    auto* right = new QVBoxLayout;
    root->addLayout(right, 2);
    lbldadi_ = new QLabel(kResult, this);
    lbldadi_->setObjectName("lbldadi");
    right->addWidget(lbldadi_);
    memdadi_ = new BetListView(this);
    memdadi_->setObjectName("memdadi");
    right->addWidget(memdadi_, 1);
    resize(760, 520);
}

void Tfrmjiaoqi::btndaoruClick()
{
    if (running_)
        return;
    const QStringList chosen = dialogs().openFileNames(this, ShellFolderPath("Desktop"), textFileFilter());
    if (chosen.isEmpty())
        return;
    if (chosen.size() > kMaxIntersectionFiles) {
        showError(this, QStringLiteral("最多只能导入%1个大底文件！").arg(kMaxIntersectionFiles));
        return;
    }
    lstdadi_->clear();
    files_ = chosen;
    for (const QString& f : files_)
        lstdadi_->addItem(QFileInfo(f).fileName());
    lstdadi_->selectAll();
    lbldadi_->setText(kResult);
}

void Tfrmjiaoqi::btnjiaoqiClick()
{
    if (running_)
        return;
    if (files_.isEmpty()) {
        showError(this, QStringLiteral("请先导入大底文件！"));
        return;
    }
    IntersectionInput in;
    if (!tryParseInteger(edtnum1_->text().toStdString(), in.toleranceLow)) {
        showError(this, QString::fromStdString(integerConversionMessage(edtnum1_->text().toStdString())));
        return;
    }
    if (!tryParseInteger(edtnum2_->text().toStdString(), in.toleranceHigh)) {
        showError(this, QString::fromStdString(integerConversionMessage(edtnum2_->text().toStdString())));
        return;
    }
    in.specials = static_cast<SpecialChoice>(std::max(optGroup_->checkedId(), 0));
    in.typed = edtteima_->text().toStdString();
    for (const QString& f : files_)
        in.files.push_back(fsPath(f));
    in.listFile = fsPath(ListFilePath());
    stopRequested_ = false;
    EventPump pump;
    in.progress = progressFor(pump, nullptr, [this] { return !stopRequested_; });

    IntersectionResult r;
    {
        BusyScope busy(this, running_, {btndaoru_, btnjiaoqi_, btnsave_, btncls_});
        r = runIntersection(context_.state.CurrentLottery(), in);
        if (r.ok()) {
            if (!memdadi_->showListFile(ListFilePath(), progressFor(pump))) {
                showGeneralError(memdadi_->error());
                return;
            }
            lbldadi_->setText(kResult + QString::number(r.lines) + QStringLiteral("注"));
        }
    }
    if (r.status == IntersectionResult::Status::Refused)
        showError(this, QString::fromStdString(r.message));
    else if (r.status == IntersectionResult::Status::Failed)
        showGeneralError(QString::fromStdString(r.message));
}

void Tfrmjiaoqi::lstdadiDblClick(int row)
{
    if (running_ || row < 0 || row >= files_.size())
        return;
    EventPump pump;
    bool shown = false;
    {
        BusyScope busy(this, running_, {btndaoru_, btnjiaoqi_, btnsave_, btncls_});
        shown = memdadi_->showListFile(files_[row], progressFor(pump));
    }
    if (!shown) {
        showGeneralError(memdadi_->error());
        return;
    }
    lbldadi_->setText(kResult + QString::number(memdadi_->lineCount()) + QStringLiteral("注"));
}

void Tfrmjiaoqi::btnbaohaoClick()
{
    if (!running_)
        coverShownList(context_);
}

void Tfrmjiaoqi::btnsaveClick()
{
    if (running_)
        return;
    const QString file =
        dialogs().saveFileName(this, ShellFolderPath("Desktop"), QString(), textFileFilter(), QStringLiteral("txt"));
    if (file.isEmpty())
        return;
    EventPump pump;
    std::string error;
    bool saved = false;
    {
        BusyScope busy(this, running_, {btndaoru_, btnjiaoqi_, btnsave_, btncls_});
        SafeFileWriter out(fsPath(file));
        if (out.isOpen()) {
            const qint64 count = memdadi_->lineCount();
            for (qint64 i = 0; i < count; ++i) {
                if ((i & 0xFFF) == 0)
                    pump.pump();
                out.append(memdadi_->lineText(i).toStdString());
                out.append(" \r\n");
            }
            saved = out.commit();
        }
        if (!saved)
            error = out.error();
    }
    if (!saved) {
        showGeneralError(QString::fromStdString(error));
        return;
    }
    showInformation(this, QStringLiteral("成功保存！"));
}

void Tfrmjiaoqi::btnclsClick()
{
    if (running_)
        return;
    lstdadi_->clear();
    files_.clear();
    memdadi_->clear();
    lbldadi_->setText(kResult);
    edtnum1_->setText(QStringLiteral("0"));
    edtnum2_->setText(QStringLiteral("0"));
    opt_[0]->setChecked(true);
    edtteima_->clear();
    edtteima_->setEnabled(false);
}

void Tfrmjiaoqi::optteimaClick()
{
    const bool typed = optGroup_->checkedId() == static_cast<int>(SpecialChoice::Typed);
    edtteima_->setEnabled(typed);
    if (typed)
        edtteima_->setFocus();
}

} // namespace zelvor
