#include "invest/u_jihua.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/error.h"
#include "data/program_dir.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/table_print.h"

namespace zelvor {

using namespace invest;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

std::filesystem::path pathOf(const QString& file) { return std::filesystem::path(file.toStdU16String()); }

QPushButton* button(QWidget* parent, const QString& text, const char* name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

TfrmjihuaBase::TfrmjihuaBase(PlanKind kind, AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), d_(planDescriptor(kind)), context_(context)
{
    setObjectName(QString::fromLatin1(d_.className));
    setWindowTitle(QString::fromUtf8(d_.caption));
    auto* top = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    static const char* names[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays", "edtjieduan", "edtjushu"};
    const PlanFields defaults;
    int at = 0;
    for (int f = 0; f < PlanFieldCount; ++f) {
        const bool shown = (f == FieldC && kind != PlanKind::Variable) || (f == FieldS && kind == PlanKind::Staged) ||
                           (f == FieldB && kind == PlanKind::Variable) ||
                           (f != FieldC && f != FieldS && f != FieldB);
        if (!shown)
            continue;
        auto* edit = new QLineEdit(q(defaults.text[f]), this);
        edit->setObjectName(QString::fromLatin1(names[f]));
        edits_[f] = edit;
        fields->addWidget(new QLabel(QString::fromUtf8(planFieldLabel(static_cast<PlanField>(f))), this), at / 4,
                          (at % 4) * 2);
        fields->addWidget(edit, at / 4, (at % 4) * 2 + 1);
        ++at;
    }
    top->addLayout(fields);
    grid_ = new QTableWidget(this);
    grid_->setObjectName("grdjihua");
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    top->addWidget(grid_);
    auto* buttons = new QHBoxLayout;
    if (kind == PlanKind::Variable) {
        btnnew_ = button(this, QStringLiteral("新建"), "btnnew");
        btnjisuan_ = button(this, QStringLiteral("添加本期计划"), "btnjisuan");
        btnjisuan_->setEnabled(false);
        buttons->addWidget(btnnew_);
        buttons->addWidget(btnjisuan_);
        connect(btnnew_, &QPushButton::clicked, this, [this] { guarded([this] { btnnewClick(); }); });
        connect(btnjisuan_, &QPushButton::clicked, this, [this] { guarded([this] { btnjisuanClick(); }); });
    } else {
        btnala_ = button(this, QStringLiteral("生成计划"), "btnala");
        btnala_->setDefault(true);
        buttons->addWidget(btnala_);
        connect(btnala_, &QPushButton::clicked, this, [this] { guarded([this] { btnalaClick(); }); });
    }
    btnsave_ = button(this, QStringLiteral("保存"), "btnsave");
    btnload_ = button(this, QStringLiteral("载入"), "btnload");
    btnprint_ = button(this, QStringLiteral("打印"), "btnprint");
    btnclose_ = button(this, QStringLiteral("关闭"), "btnclose");
    if (kind == PlanKind::Variable)
        btnload_->setDefault(true);
    for (QPushButton* b : {btnsave_, btnload_, btnprint_, btnclose_})
        buttons->addWidget(b);
    connect(btnsave_, &QPushButton::clicked, this, [this] { guarded([this] { btnsaveClick(); }); });
    connect(btnload_, &QPushButton::clicked, this, [this] { guarded([this] { btnloadClick(); }); });
    connect(btnprint_, &QPushButton::clicked, this, [this] { guarded([this] { btnprintClick(); }); });
    connect(btnclose_, &QPushButton::clicked, this, &TfrmjihuaBase::btncloseClick);
    top->addLayout(buttons);
    showRows(false);
    resize(760, 560);
}

PlanFields TfrmjihuaBase::fieldTexts() const
{
    PlanFields f;
    for (int i = 0; i < PlanFieldCount; ++i)
        if (edits_[i])
            f.text[i] = edits_[i]->text().toStdString();
    return f;
}

void TfrmjihuaBase::setFieldTexts(const PlanFields& f)
{
    for (int i = 0; i < PlanFieldCount; ++i)
        if (edits_[i])
            edits_[i]->setText(q(f.text[i]));
}

void TfrmjihuaBase::showRows(bool loaded)
{
    const std::vector<std::string> headers = planHeaders(d_.kind, loaded);
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(headers.size()));
    QStringList h;
    for (const std::string& s : headers)
        h << q(s);
    grid_->setHorizontalHeaderLabels(h);
    grid_->setRowCount(0);
    for (const PlanRow& r : rows_)
        appendGridRow(r);
}

void TfrmjihuaBase::appendGridRow(const PlanRow& row)
{
    const int r = grid_->rowCount();
    grid_->setRowCount(r + 1);
    const std::vector<std::int64_t> cells = planCells(row, d_.kind);
    for (std::size_t c = 0; c < cells.size(); ++c)
        grid_->setItem(r, static_cast<int>(c), new QTableWidgetItem(QString::number(static_cast<qlonglong>(cells[c]))));
}

void TfrmjihuaBase::btnalaClick()
{
    const PlanValues v = readPlanFields(fieldTexts(), d_.kind); // a bad field ends here
    PlanResult r = d_.kind == PlanKind::Fixed ? generateFixedPlan(v) : generateStagedPlan(v);
    if (!r.message.empty()) {
        showInformation(this, q(r.message));
        return;
    }
    rows_ = std::move(r.rows);
    showRows(false);
    showInformation(this, q(planAverageText(rows_)));
}

void TfrmjihuaBase::setEntering(bool entering)
{
    btnnew_->setText(entering ? QStringLiteral("取消保存") : QStringLiteral("新建"));
}

void TfrmjihuaBase::btnnewClick()
{
    if (btnnew_->text() == QStringLiteral("新建")) {
        setEntering(true);
        rows_.clear();
        showRows(false);
        btnload_->setEnabled(false);
        btnprint_->setEnabled(false);
        btnclose_->setEnabled(false);
        btnjisuan_->setEnabled(true);
    } else {
        setEntering(false);
        rows_.clear();
        showRows(false);
        btnjisuan_->setEnabled(false);
        for (QPushButton* b : {btnsave_, btnload_, btnprint_, btnclose_})
            b->setEnabled(true);
    }
}

void TfrmjihuaBase::btnjisuanClick()
{
    const PlanFields f = fieldTexts();
    const PlanValues v = readPlanFields(f, d_.kind);
    const std::string message = addVariableIssue(rows_, v, f.text[FieldN]);
    if (!message.empty()) {
        showInformation(this, q(message));
        return;
    }
    appendGridRow(rows_.back());
    showInformation(this, q(planAverageText(rows_)));
}

void TfrmjihuaBase::btnsaveClick()
{
    const QString dir = ProgramDir() + QStringLiteral("附属");
    const QString file = dialogs().saveFileName(this, dir, QString::fromUtf8(d_.fileName), textFileFilter(), "txt");
    if (file.isEmpty())
        return;
    savePlanFile(pathOf(file), d_.kind, fieldTexts(), rows_);
    if (btnnew_) {
        setEntering(false);
        for (QPushButton* b : {btnload_, btnprint_, btnclose_})
            b->setEnabled(true);
    }
    showInformation(this, QStringLiteral("成功保存！"));
}

void TfrmjihuaBase::btnloadClick()
{
    const QString dir = ProgramDir() + QStringLiteral("附属");
    const QString file = dialogs().openFileName(this, dir, QString::fromUtf8(d_.fileName), textFileFilter());
    if (file.isEmpty())
        return;
    LoadedPlan loaded;
    try {
        loaded = loadPlanFile(pathOf(file), d_.kind, fieldTexts());
    } catch (const Error& e) {
        showError(this, q(e.what())); // the window stays as it was
        return;
    }
    setFieldTexts(loaded.fields);
    rows_ = std::move(loaded.rows);
    showRows(true);
    if (!rows_.empty())
        showInformation(this, q(planAverageText(rows_)));
    if (btnnew_) {
        setEntering(true);
        btnjisuan_->setEnabled(true);
    }
}

bool TfrmjihuaBase::printTo(QPrinter& printer)
{
    const QString line = q(planPrintLine(d_.kind, fieldTexts(), printDate().toStdString()));
    PrintedTable t;
    t.title = QString::fromUtf8(d_.title);
    t.parameterLine = line;
    for (int c = 0; c < grid_->columnCount(); ++c)
        t.headers << grid_->horizontalHeaderItem(c)->text();
    for (const PlanRow& r : rows_) {
        QStringList cells;
        for (std::int64_t v : planCells(r, d_.kind))
            cells << QString::number(static_cast<qlonglong>(v));
        t.rows.push_back(cells);
    }
    t.layout = d_.kind == PlanKind::Variable ? TableLayout::EightColumns : TableLayout::SevenColumns;
    return printTable(printer, t) > 0;
}

void TfrmjihuaBase::btnprintClick()
{
    if (rows_.empty()) {
        showInformation(this, QStringLiteral("请先生成表格！"));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!printTo(printer))
        showError(this, QStringLiteral("请安装打印机！"));
}

} // namespace zelvor
