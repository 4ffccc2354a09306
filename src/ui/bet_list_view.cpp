#include "ui/bet_list_view.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryFile>
#include <algorithm>
#include <fstream>
#include <limits>
#include <vector>

#include "filter/list_file.h"

namespace zelvor {

namespace {

constexpr int kMargin = 4;

// A private snapshot of the list file next to it: a hard link when the file
// system allows one (instant, whatever the size), else a copy in chunks.
QString makeSnapshot(const QString& listFile, const ProgressFn& progress, QString* error)
{
    QTemporaryFile reserve(QFileInfo(listFile).absolutePath() + QStringLiteral("/.memcode-XXXXXX.txt"));
    reserve.setAutoRemove(false);
    if (!reserve.open()) {
        *error = QStringLiteral("无法创建文件“%1”。").arg(reserve.fileTemplate());
        return {};
    }
    const QString name = reserve.fileName();
    reserve.close();
    QFile::remove(name);
    std::error_code ec;
    std::filesystem::create_hard_link(fsPath(listFile), fsPath(name), ec);
    if (!ec)
        return name;

    std::ifstream in(fsPath(listFile), std::ios::binary);
    std::ofstream out(fsPath(name), std::ios::binary | std::ios::trunc);
    if (!in || !out) {
        QFile::remove(name);
        *error = QStringLiteral("无法打开文件“%1”。").arg(listFile);
        return {};
    }
    const auto total = static_cast<std::int64_t>(std::filesystem::file_size(fsPath(listFile), ec));
    std::vector<char> chunk(4u << 20);
    std::int64_t done = 0;
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::streamsize got = in.gcount();
        if (got <= 0)
            break;
        out.write(chunk.data(), got);
        done += got;
        if (!out || !reportProgress(progress, done, total)) {
            out.close();
            QFile::remove(name);
            if (!out)
                *error = QStringLiteral("写入文件“%1”失败。").arg(name);
            return {};
        }
    }
    out.close();
    if (in.bad() || !out) {
        QFile::remove(name);
        *error = QStringLiteral("读取文件“%1”失败。").arg(listFile);
        return {};
    }
    return name;
}

} // namespace

BetListView::BetListView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName("memcode");
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    viewport()->setFont(font);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setCursor(Qt::IBeamCursor);
    lineHeight_ = QFontMetrics(font).lineSpacing() + 2;
    verticalScrollBar()->setSingleStep(1);

    editor_ = new QLineEdit(viewport());
    editor_->setObjectName("memcodeEditor");
    editor_->setFont(font);
    editor_->setFrame(false);
    editor_->hide();
    editor_->installEventFilter(this);
    updateScrollBar();
}

BetListView::~BetListView()
{
    list_.reset();
    dropSnapshot();
}

void BetListView::dropSnapshot()
{
    if (!snapshot_.isEmpty())
        QFile::remove(snapshot_);
    snapshot_.clear();
}

bool BetListView::showListFile(const QString& listFile, const ProgressFn& progress)
{
    cancelEdit();
    error_.clear();
    // The window may be closed for good while events are pumped: the work
    // below holds its own references and stops when the view is gone.
    QPointer<BetListView> alive(this);
    ProgressFn guarded = [alive, progress](std::int64_t done, std::int64_t total) {
        return alive && reportProgress(progress, done, total) && alive;
    };
    QString error;
    const QString snapshot = makeSnapshot(listFile, guarded, &error);
    if (!alive) {
        if (!snapshot.isEmpty())
            QFile::remove(snapshot);
        return false;
    }
    auto list = std::make_shared<ListFile>();
    bool opened = false;
    if (!snapshot.isEmpty()) {
        opened = list->open(fsPath(snapshot), guarded);
        if (!opened && error.isEmpty())
            error = QString::fromStdString(list->error());
    }
    if (!alive) {
        list.reset();
        if (!snapshot.isEmpty())
            QFile::remove(snapshot);
        return false;
    }
    list_.reset();
    dropSnapshot();
    current_ = -1;
    if (!opened) {
        if (!snapshot.isEmpty())
            QFile::remove(snapshot);
        error_ = error;
        updateScrollBar();
        viewport()->update();
        return false;
    }
    list_ = std::move(list);
    snapshot_ = snapshot;
    current_ = list_->lineCount() > 0 ? 0 : -1;
    updateScrollBar();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    return true;
}

void BetListView::clear()
{
    cancelEdit();
    list_.reset();
    dropSnapshot();
    current_ = -1;
    error_.clear();
    updateScrollBar();
    viewport()->update();
}

qint64 BetListView::lineCount() const { return list_ ? list_->lineCount() : 0; }

QString BetListView::lineText(qint64 i) const
{
    return list_ ? QString::fromStdString(list_->line(i)) : QString();
}

bool BetListView::isEdited(qint64 i) const { return list_ && list_->isEdited(i); }

bool BetListView::setLineText(qint64 i, const QString& text)
{
    if (!list_ || !list_->setLine(i, text.toStdString()))
        return false;
    viewport()->update();
    emit lineEdited(i);
    return true;
}

int BetListView::pageLines() const { return std::max(1, viewport()->height() / lineHeight_); }

qint64 BetListView::firstVisibleLine() const { return verticalScrollBar()->value(); }

void BetListView::updateScrollBar()
{
    const qint64 max = std::max<qint64>(0, lineCount() - pageLines());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(std::min<qint64>(max, std::numeric_limits<int>::max())));
    bar->setPageStep(pageLines());
}

void BetListView::scrollToLine(qint64 i)
{
    if (lineCount() == 0)
        return;
    i = std::clamp<qint64>(i, 0, lineCount() - 1);
    verticalScrollBar()->setValue(static_cast<int>(std::min<qint64>(i, verticalScrollBar()->maximum())));
    viewport()->update();
}

QStringList BetListView::visibleLines() const
{
    QStringList out;
    if (!list_)
        return out;
    const qint64 first = firstVisibleLine();
    const int rows = (viewport()->height() + lineHeight_ - 1) / lineHeight_;
    for (const std::string& s : list_->lines(first, rows))
        out << QString::fromStdString(s);
    return out;
}

void BetListView::setCurrentLine(qint64 i)
{
    if (lineCount() == 0) {
        current_ = -1;
        return;
    }
    current_ = std::clamp<qint64>(i, 0, lineCount() - 1);
    const qint64 first = firstVisibleLine();
    if (current_ < first)
        verticalScrollBar()->setValue(static_cast<int>(current_));
    else if (current_ >= first + pageLines())
        verticalScrollBar()->setValue(static_cast<int>(current_ - pageLines() + 1));
    viewport()->update();
}

qint64 BetListView::lineAt(int y) const
{
    const qint64 i = firstVisibleLine() + y / lineHeight_;
    return i < lineCount() ? i : -1;
}

void BetListView::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    if (!list_)
        return;
    const qint64 first = firstVisibleLine();
    const int rows = (viewport()->height() + lineHeight_ - 1) / lineHeight_;
    const std::vector<std::string> lines = list_->lines(first, rows);
    const int ascent = QFontMetrics(viewport()->font()).ascent();
    for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
        const qint64 i = first + r;
        const QRect line(0, r * lineHeight_, viewport()->width(), lineHeight_);
        const bool current = i == current_ && hasFocus();
        if (current)
            p.fillRect(line, palette().color(QPalette::Highlight));
        p.setPen(palette().color(current ? QPalette::HighlightedText : QPalette::Text));
        p.drawText(kMargin, r * lineHeight_ + 1 + ascent, QString::fromStdString(lines[static_cast<std::size_t>(r)]));
    }
}

void BetListView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
    placeEditor();
}

void BetListView::scrollContentsBy(int, int)
{
    placeEditor();
    viewport()->update();
}

void BetListView::keyPressEvent(QKeyEvent* event)
{
    const qint64 n = lineCount();
    if (n == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const qint64 at = current_ < 0 ? firstVisibleLine() : current_;
    switch (event->key()) {
    case Qt::Key_Up: setCurrentLine(at - 1); break;
    case Qt::Key_Down: setCurrentLine(at + 1); break;
    case Qt::Key_PageUp: setCurrentLine(at - pageLines()); break;
    case Qt::Key_PageDown: setCurrentLine(at + pageLines()); break;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier)
            setCurrentLine(0);
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier)
            setCurrentLine(n - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (current_ < 0)
            setCurrentLine(at);
        editCurrentLine();
        break;
    default:
        // Typing starts an edit of the current line with that text.
        if (!event->text().isEmpty() && event->text().at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier)) {
            if (current_ < 0)
                setCurrentLine(at);
            editCurrentLine();
            editor_->setText(event->text());
            break;
        }
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void BetListView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason); // commits an open edit through its focus loss
    const qint64 i = lineAt(event->position().toPoint().y());
    if (i >= 0)
        setCurrentLine(i);
    event->accept();
}

void BetListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const qint64 i = lineAt(event->position().toPoint().y());
    if (i < 0)
        return;
    setCurrentLine(i);
    editCurrentLine();
    event->accept();
}

void BetListView::editCurrentLine()
{
    if (current_ < 0 || current_ >= lineCount())
        return;
    editing_ = current_;
    editor_->setText(lineText(editing_));
    placeEditor();
    editor_->show();
    editor_->setFocus();
}

void BetListView::placeEditor()
{
    if (editing_ < 0)
        return;
    const qint64 row = editing_ - firstVisibleLine();
    if (row < 0 || row >= pageLines() + 1) {
        editor_->hide();
        return;
    }
    editor_->setGeometry(0, static_cast<int>(row) * lineHeight_, viewport()->width(), lineHeight_);
    if (!editor_->isVisible())
        editor_->show();
}

void BetListView::commitEdit()
{
    if (editing_ < 0)
        return;
    const qint64 line = editing_;
    editing_ = -1;
    editor_->hide();
    if (editor_->text() != lineText(line))
        setLineText(line, editor_->text());
}

void BetListView::cancelEdit()
{
    if (editing_ < 0)
        return;
    editing_ = -1;
    editor_->hide();
}

bool BetListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                commitEdit(); // the window's default button must not see this Enter
                setFocus();
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                cancelEdit();
                setFocus();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && editing_ >= 0) {
            commitEdit();
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

FileWriteResult BetListView::saveAsBetFile(const QString& file, const ProgressFn& progress) const
{
    if (!list_)
        return saveBetFile(fsPath(file), std::span<const std::string>{});
    // Keep the list alive even if the view goes away while events are pumped.
    const std::shared_ptr<ListFile> list = list_;
    return list->saveAsBetFile(fsPath(file), progress);
}

} // namespace zelvor
