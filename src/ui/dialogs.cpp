#include "ui/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace zelvor {

namespace {

class QtDialogService : public DialogService {
public:
    void error(QWidget* parent, const QString& text, const QString& caption) override
    {
        QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
    }
    void information(QWidget* parent, const QString& text, const QString& caption) override
    {
        QMessageBox::information(parent, caption, text, QMessageBox::Ok);
    }
    void warning(QWidget* parent, const QString& text, const QString& caption) override
    {
        QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
    }
    bool confirm(QWidget* parent, const QString& text, const QString& caption) override
    {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    }
    QString saveFileName(QWidget* parent, const QString& startDir, const QString& proposedName,
                         const QString& filter, const QString& defaultSuffix) override
    {
        QFileDialog dlg(parent, QString(), startDir, filter);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix(defaultSuffix);
        dlg.selectFile(proposedName);
        return dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty() ? dlg.selectedFiles().first()
                                                                                 : QString();
    }
    QString openFileName(QWidget* parent, const QString& startDir, const QString& proposedName,
                         const QString& filter) override
    {
        QFileDialog dlg(parent, QString(), startDir, filter);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        if (!proposedName.isEmpty())
            dlg.selectFile(proposedName);
        return dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty() ? dlg.selectedFiles().first()
                                                                                 : QString();
    }
    QStringList openFileNames(QWidget* parent, const QString& startDir, const QString& filter) override
    {
        return QFileDialog::getOpenFileNames(parent, QString(), startDir, filter);
    }
};

std::unique_ptr<DialogService>& current()
{
    static std::unique_ptr<DialogService> service = std::make_unique<QtDialogService>();
    return service;
}

} // namespace

bool DialogService::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

DialogService& dialogs() { return *current(); }

std::unique_ptr<DialogService> setDialogService(std::unique_ptr<DialogService> service)
{
    std::unique_ptr<DialogService> previous = std::move(current());
    current() = std::move(service);
    return previous;
}

QString textFileFilter() { return QStringLiteral("文本文件(*.txt)"); }

void showError(QWidget* parent, const QString& text) { dialogs().error(parent, text, QStringLiteral("错误")); }
void showInformation(QWidget* parent, const QString& text)
{
    dialogs().information(parent, text, QStringLiteral("提示"));
}
void showWarning(QWidget* parent, const QString& text) { dialogs().warning(parent, text, QStringLiteral("警告")); }
bool askConfirm(QWidget* parent, const QString& text) { return dialogs().confirm(parent, text, QStringLiteral("确认")); }

} // namespace zelvor
