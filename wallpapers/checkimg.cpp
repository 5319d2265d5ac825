#include "checkimg.h"

#include "langtext.h"
#include "zkeys.h"
#include "zsoftkey.h"

#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

CheckImg::CheckImg(ZConfig *lang, const QString &path) : m_lang(lang), m_path(path)
{
    initApp();
    CreateControls();
}

QString CheckImg::getText(const QString &key) const
{
    return ::getText(m_lang, key);
}

int CheckImg::shownHeight(const QString &path)
{
    // The header tells the size; the picture itself is drawn by the label.
    QImageReader reader(path);
    QSize size = reader.size();
    if (!size.isValid()) {
        const QImage image = reader.read();
        size = image.size();
    }
    if (size.width() <= 0 || size.height() <= 0)
        return 0;
    int height = qMin(size.height(), 200);
    // A wide picture is kept within the width of the screen rather than cut off at its sides.
    const qint64 widthAtHeight = qint64(size.width()) * height / size.height();
    if (widthAtHeight > ZMainWidget::ScreenWidth)
        height = int(qint64(size.height()) * ZMainWidget::ScreenWidth / size.width());
    return qMax(1, height);
}

QString CheckImg::imageHtml(const QString &path, int height)
{
    // The path goes in as a quoted, escaped file URL, so blanks, quotes, "#", "%" and markup
    // characters in a file name neither break the tag nor turn into markup.
    const QString url = QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
    return QStringLiteral("<qt><center><img src=\"%1\" height=\"%2\"></center></qt>")
        .arg(url.toHtmlEscaped(), QString::number(height));
}

QString CheckImg::pathHtml(const QString &path)
{
    return QStringLiteral("<qt><center><font size=\"-1\">%1</font></center></qt>").arg(path.toHtmlEscaped());
}

void CheckImg::CreateControls()
{
    setWindowTitle(getText(QStringLiteral("CheckWallpaper")));

    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);

    m_image = new QLabel(content);
    m_image->setTextFormat(Qt::RichText);
    m_image->setText(imageHtml(m_path, shownHeight(m_path)));
    layout->addWidget(m_image);

    layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));

    m_pathLabel = new QLabel(content);
    m_pathLabel->setTextFormat(Qt::RichText);
    m_pathLabel->setWordWrap(true);
    m_pathLabel->setText(pathHtml(m_path));
    layout->addWidget(m_pathLabel);

    setContentWidget(content);
    createSoftKey();
}

void CheckImg::createSoftKey()
{
    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("Back")));
    m_softKey->setClickedSlot(ZSoftKey::LEFT, this, SLOT(accept()));
    setSoftKey(m_softKey);
}

void CheckImg::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Digit5:
    case ZKey::Select:
        accept();
        break;
    case ZKey::Back:
        reject();
        break;
    default:
        MyBaseDlg::keyPressEvent(event);
    }
}
