#pragma once
// The three plan windows as one implementation with a descriptor each:
// Tfrmgudingjihua ("固定计划投资"), Tfrmjieduanjihua ("阶段计划投资") and
// Tfrmkeibianjihua ("可变投资计划"). Fields, the plan grid, generation or
// issue-by-issue entry, save, load and print.
#include <QWidget>
#include <array>
#include <vector>

#include "invest/plan.h"
#include "ui/app_context.h"

class QLineEdit;
class QPrinter;
class QPushButton;
class QTableWidget;

namespace zelvor {

class TfrmjihuaBase : public QWidget {
    Q_OBJECT
public:
    TfrmjihuaBase(invest::PlanKind kind, AppContext& context, QWidget* parent);

    void btnalaClick();    // "生成计划" (fixed, staged)
    void btnnewClick();    // "新建" / "取消保存" (variable)
    void btnjisuanClick(); // "添加本期计划" (variable)
    void btnsaveClick();
    void btnloadClick();
    void btnprintClick();
    void btncloseClick() { close(); }

    // Prints the plan on a printer already set up; false when it failed.
    bool printTo(QPrinter& printer);
    const std::vector<invest::PlanRow>& rows() const { return rows_; }
    QLineEdit* field(invest::PlanField f) const { return edits_[f]; }
    QTableWidget* grid() const { return grid_; }

private:
    invest::PlanFields fieldTexts() const;
    void setFieldTexts(const invest::PlanFields& f);
    void showRows(bool loaded);
    void appendGridRow(const invest::PlanRow& row);
    void setEntering(bool entering);

    const invest::PlanDescriptor& d_;
    AppContext& context_;
    std::array<QLineEdit*, invest::PlanFieldCount> edits_{};
    QTableWidget* grid_ = nullptr;
    QPushButton* btnala_ = nullptr;
    QPushButton* btnnew_ = nullptr;
    QPushButton* btnjisuan_ = nullptr;
    QPushButton* btnsave_ = nullptr;
    QPushButton* btnload_ = nullptr;
    QPushButton* btnprint_ = nullptr;
    QPushButton* btnclose_ = nullptr;
    std::vector<invest::PlanRow> rows_;
};

class Tfrmgudingjihua : public TfrmjihuaBase {
    Q_OBJECT
public:
    Tfrmgudingjihua(AppContext& context, QWidget* parent = nullptr)
        : TfrmjihuaBase(invest::PlanKind::Fixed, context, parent) {}
};

class Tfrmjieduanjihua : public TfrmjihuaBase {
    Q_OBJECT
public:
    Tfrmjieduanjihua(AppContext& context, QWidget* parent = nullptr)
        : TfrmjihuaBase(invest::PlanKind::Staged, context, parent) {}
};

class Tfrmkeibianjihua : public TfrmjihuaBase {
    Q_OBJECT
public:
    Tfrmkeibianjihua(AppContext& context, QWidget* parent = nullptr)
        : TfrmjihuaBase(invest::PlanKind::Variable, context, parent) {}
};

} // namespace zelvor
