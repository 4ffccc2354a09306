#pragma once
// A scripted dialog service for window tests: records every message box and
// answers file dialogs from queues (an empty queue answers "cancel").
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "ui/dialogs.h"

namespace zelvor::testing {

struct ShownMessage {
    QString kind; // "error", "information", "warning"
    QString caption;
    QString text;
};

class ScriptedDialogs : public DialogService {
public:
    QList<ShownMessage> messages;
    QStringList saveAnswers;
    QStringList openAnswers;
    QList<QStringList> openManyAnswers;
    // What the file dialogs were asked with (start folder + proposed name).
    QStringList proposedNames;
    // Answers of yes/no questions in order; an empty queue answers "no".
    QList<bool> confirmAnswers;
    // Addresses handed to the desktop, in order; nothing is really opened.
    QList<QUrl> openedUrls;

    void error(QWidget*, const QString& text, const QString& caption) override
    {
        messages.append({"error", caption, text});
    }
    void information(QWidget*, const QString& text, const QString& caption) override
    {
        messages.append({"information", caption, text});
    }
    void warning(QWidget*, const QString& text, const QString& caption) override
    {
        messages.append({"warning", caption, text});
    }
    bool confirm(QWidget*, const QString& text, const QString& caption) override
    {
        messages.append({"question", caption, text});
        return confirmAnswers.isEmpty() ? false : confirmAnswers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& startDir, const QString& proposedName, const QString&,
                         const QString&) override
    {
        proposedNames << startDir + "|" + proposedName;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    QString openFileName(QWidget*, const QString& startDir, const QString& proposedName, const QString&) override
    {
        proposedNames << startDir + "|" + proposedName;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QStringList openFileNames(QWidget*, const QString&, const QString&) override
    {
        return openManyAnswers.isEmpty() ? QStringList() : openManyAnswers.takeFirst();
    }

    bool openUrl(const QUrl& url) override
    {
        openedUrls.append(url);
        return true;
    }

    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    QStringList texts() const
    {
        QStringList t;
        for (const ShownMessage& m : messages)
            t << m.text;
        return t;
    }
};

// Installs a ScriptedDialogs for the life of the object.
class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    ScriptedDialogs* operator->() { return fake_; }
    ScriptedDialogs& operator*() { return *fake_; }

private:
    ScriptedDialogs* fake_;
    std::unique_ptr<DialogService> previous_;
};

} // namespace zelvor::testing
