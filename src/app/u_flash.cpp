#include "app/u_flash.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include "app/info_text.h"
#include "data/program_dir.h"

namespace zelvor {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& style, int x, int y, int w, int h)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setStyleSheet(style);
    l->setGeometry(x, y, w, h);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

} // namespace

Tfrmflash::Tfrmflash(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmflash");
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                   | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(480, 300);

    Image1_ = new QLabel(this);
    Image1_->setObjectName("Image1");
    Image1_->setGeometry(rect());
    Image1_->setScaledContents(true);
    Image1_->setStyleSheet("background-color: #7a1a30;");

    const QString yellow = QStringLiteral("color: #ffff00; font-weight: bold; font-style: italic; font-size: 13pt;");
    Label1_ = makeLabel(this, "Label1",
                        "color: #ff0000; font-weight: bold; font-style: italic; font-size: 36pt;", 30, 24, 420, 70);
    Label1_->setText("Zelvor");
    lblshiyong_ = makeLabel(this, "lblshiyong", yellow, 40, 100, 420, 28);
    lblshiyong_->setText(QStringLiteral("适用：中国福彩双色球"));
    lblchuping_ = makeLabel(this, "lblchuping", yellow, 40, 140, 420, 26);
    lblweb_ = makeLabel(this, "lblweb", yellow, 40, 170, 420, 26);
    lblqq_ = makeLabel(this, "lblqq", yellow, 40, 200, 420, 26);
    lblmail_ = makeLabel(this, "lblmail", yellow, 40, 230, 420, 26);
    lblphone_ = makeLabel(this, "lblphone", yellow, 40, 260, 420, 26);

    Timer1_ = new QTimer(this);
    Timer1_->setObjectName("Timer1");
    Timer1_->setInterval(1000);
    connect(Timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
    FormCreate();
    Timer1_->start();
    qApp->installEventFilter(this);
}

void Tfrmflash::FormCreate()
{
    const QString picture = ProgramFile(QStringLiteral("图片/flash.jpg"));
    const QPixmap pixmap(picture);
    if (pixmap.isNull())
        missing_ << picture;
    else
        Image1_->setPixmap(pixmap);
    QString error;
    // Line 2 is read and not shown.
    const QString info = ProgramFile(QStringLiteral("附属/flash.txt"));
    const QStringList lines = readInfoLines(info, 6, error);
    if (!error.isEmpty())
        missing_ << info;
    QLabel* targets[6] = {lblchuping_, nullptr, lblweb_, lblqq_, lblmail_, lblphone_};
    for (int i = 0; i < lines.size() && i < 6; ++i)
        if (targets[i])
            targets[i]->setText(lines[i]);
}

void Tfrmflash::Timer1Timer()
{
    if (++ticks_ >= 5) {
        Timer1_->stop();
        accept();
    }
}

void Tfrmflash::mousePressEvent(QMouseEvent*)
{
    Timer1_->stop();
    accept();
}

bool Tfrmflash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isVisible()) {
        Timer1_->stop();
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zelvor
