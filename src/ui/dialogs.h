#pragma once
// The one way windows talk to the user through modal boxes and file dialogs.
// The program installs the real service; tests install a scripted fake
// (tests/support) so no dialog ever blocks a test.
#include <QString>
#include <QStringList>
#include <memory>

class QUrl;

class QWidget;

namespace zelvor {

class DialogService {
public:
    virtual ~DialogService() = default;
    // Modal boxes with an OK button.
    virtual void error(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual void information(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual void warning(QWidget* parent, const QString& text, const QString& caption) = 0;
    // A yes/no question; true for yes.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& caption) = 0;
    // File dialogs; an empty result means the user cancelled.
    // filter is in Qt form ("文本文件(*.txt)"), defaultSuffix without the dot.
    virtual QString saveFileName(QWidget* parent, const QString& startDir, const QString& proposedName,
                                 const QString& filter, const QString& defaultSuffix) = 0;
    virtual QString openFileName(QWidget* parent, const QString& startDir, const QString& proposedName,
                                 const QString& filter) = 0;
    virtual QStringList openFileNames(QWidget* parent, const QString& startDir, const QString& filter) = 0;
    // Hands a web address or a local document (a help page) to the desktop's
    // browser or viewer; false when the desktop could not open it.
    virtual bool openUrl(const QUrl& url);
};

// The service in force (the real one unless a test installed another).
DialogService& dialogs();
// Installs a service and returns the previous one.
std::unique_ptr<DialogService> setDialogService(std::unique_ptr<DialogService> service);

// The text-file filter of every bet, plan and history dialog.
QString textFileFilter();

// Shorthands for the program's fixed messages.
void showError(QWidget* parent, const QString& text);       // caption "错误"
void showInformation(QWidget* parent, const QString& text); // caption "提示"
void showWarning(QWidget* parent, const QString& text);     // caption "警告"
bool askConfirm(QWidget* parent, const QString& text);      // caption "确认"

} // namespace zelvor
