#include "app/u_about.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>

#include "app/info_text.h"
#include "data/program_dir.h"

namespace zelvor {

QPixmap aboutPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const struct {
        double x, y;
        QColor colour;
        const char* number;
    } balls[] = {
        {0.30, 0.32, QColor(210, 30, 30), "07"},
        {0.70, 0.32, QColor(210, 30, 30), "19"},
        {0.30, 0.72, QColor(210, 30, 30), "33"},
        {0.70, 0.72, QColor(30, 80, 210), "09"},
    };
    const double r = size * 0.19;
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(static_cast<int>(r * 0.8));
    p.setFont(font);
    for (const auto& b : balls) {
        const QPointF c(b.x * size, b.y * size);
        QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.3);
        g.setColorAt(0, b.colour.lighter(170));
        g.setColorAt(1, b.colour);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, r, r);
        p.setPen(Qt::white);
        p.drawText(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), Qt::AlignCenter, b.number);
    }
    return pixmap;
}

Tfrmabout::Tfrmabout(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmabout");
    setWindowTitle(QStringLiteral("关于本程序"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(440, 330);

    Image1_ = new QLabel(this);
    Image1_->setObjectName("Image1");
    Image1_->setGeometry(28, 28, 110, 110);
    Image1_->setPixmap(aboutPicture(110));

    auto* label1 = new QLabel(QStringLiteral("Zelvor12.0版"), this);
    label1->setObjectName("Label1");
    label1->setStyleSheet("color: #800000; font-weight: bold; font-size: 18pt;");
    label1->setGeometry(160, 36, 260, 40);

    const char* names[] = {"lblauthor", "lblbanquan", "lblweb", "lblqq", "lblphone1", "lblphone2", "lblmail"};
    int y = 100;
    for (const char* name : names) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setStyleSheet("color: #000080;");
        l->setGeometry(160, y, 260, 22);
        y += 24;
        lines_ << l;
    }
    lines_[0]->setGeometry(160, 84, 260, 22);
    lines_[1]->setGeometry(160, 108, 260, 22);
    for (int i = 2; i < lines_.size(); ++i)
        lines_[i]->setGeometry(160, 140 + (i - 2) * 24, 260, 22);

    btnclose_ = new QPushButton(QStringLiteral("关闭"), this);
    btnclose_->setObjectName("btnclose");
    btnclose_->setDefault(true);
    btnclose_->setGeometry(330, 284, 84, 28);
    connect(btnclose_, &QPushButton::clicked, this, [this] { btncloseClick(); });
    FormCreate();
}

void Tfrmabout::FormCreate()
{
    QString error;
    const QString file = ProgramFile(QStringLiteral("附属/about.txt"));
    const QStringList lines = readInfoLines(file, 7, error);
    if (!error.isEmpty())
        missing_ << file;
    for (int i = 0; i < lines.size() && i < lines_.size(); ++i)
        lines_[i]->setText(lines[i]);
}

void Tfrmabout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // Shape1: silver with a teal border and curved corners.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 128), 2));
    p.setBrush(QColor(192, 192, 192));
    p.drawRoundedRect(QRectF(12, 12, width() - 24, 260), 16, 16);
}

} // namespace zelvor
