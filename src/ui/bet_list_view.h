#pragma once
// The BetList memo `memcode` of the filtering windows: a view over a list
// file that paints only the visible lines, so 17.7 million lines scroll as
// smoothly as ten. A line can be edited by hand (kept in an overlay, never
// written back to the list file), and saving writes exactly what is shown.
//
// The list file "temp.txt" is shared by every filtering window and replaced by
// whichever writes next, so the view reads a private snapshot of it: a hard
// link to the file as it was (writers replace the file by a rename, so the
// link keeps the old content), or a copy where links are not possible.
#include <QAbstractScrollArea>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "common/progress.h"
#include "data/program_dir.h"
#include "filter/betlist.h"

class QLineEdit;

namespace zelvor {

class ListFile;


class BetListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit BetListView(QWidget* parent = nullptr);
    ~BetListView() override;

    // Shows the list file as it is now. Indexing a long file calls progress
    // (bytesDone, bytesTotal), which may stop it. On failure (see error())
    // the view is empty.
    bool showListFile(const QString& listFile, const ProgressFn& progress = {});
    // Empties the view.
    void clear();
    QString error() const { return error_; }

    qint64 lineCount() const;
    // Line i (0-based) as shown, hand edits included.
    QString lineText(qint64 i) const;
    bool isEdited(qint64 i) const;
    // A hand edit of line i (as the inline editor commits it).
    bool setLineText(qint64 i, const QString& text);

    // Scrolls so that line i is visible, at the top where the list allows.
    void scrollToLine(qint64 i);
    qint64 firstVisibleLine() const;
    // How many whole lines the viewport holds.
    int pageLines() const;
    QStringList visibleLines() const;
    qint64 currentLine() const { return current_; }
    void setCurrentLine(qint64 i);
    int lineHeight() const { return lineHeight_; }

    // Opens the inline editor on the current line; Enter keeps the edit,
    // Escape drops it.
    void editCurrentLine();
    QLineEdit* editor() const { return editor_; }
    void commitEdit();
    void cancelEdit();

    // Writes every shown line through the BetFile save rule; an empty view
    // writes an empty file.
    FileWriteResult saveAsBetFile(const QString& file, const ProgressFn& progress = {}) const;

signals:
    void lineEdited(qint64 line);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateScrollBar();
    void placeEditor();
    qint64 lineAt(int y) const;
    void dropSnapshot();

    std::shared_ptr<ListFile> list_;
    QString snapshot_; // the private snapshot file, removed with the view
    QString error_;
    qint64 current_ = -1;
    qint64 editing_ = -1;
    int lineHeight_ = 16;
    QLineEdit* editor_ = nullptr;
};

} // namespace zelvor
