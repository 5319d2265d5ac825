#include "zaboutdialog.h"

#include "langtext.h"
#include "zkeys.h"
#include "zlabel.h"
#include "zsoftkey.h"

#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace {
const char *const kVersion = "1.0";
}

ZAboutDialog::ZAboutDialog(ZConfig *languageStore)
    : MyBaseDlg()
    , m_lang(languageStore)
{
    setWindowTitle(getText(m_lang, QStringLiteral("About"), QStringLiteral("About")));

    QWidget *content = new QWidget(this);
    QVBoxLayout *layout = new QVBoxLayout(content);
    layout->setContentsMargins(6, 10, 6, 6);

    // The program's picture, centred; where it is missing the area stays empty rather than
    // showing a broken picture.
    const QString iconPath = getProgramDir() + QStringLiteral("show.png");
    const QString iconHtml = QFileInfo(iconPath).isFile() && !QImageReader(iconPath).size().isEmpty()
        ? QStringLiteral("<qt><center><img src=\"%1\"></center></qt>").arg(iconPath.toHtmlEscaped())
        : QString();
    ZLabel *iconLabel = new ZLabel(iconHtml, content, QStringLiteral("aboutIcon"));
    iconLabel->setTextFormat(Qt::RichText);
    layout->addWidget(iconLabel);

    const QString author = getText(m_lang, QStringLiteral("AboutAuthor"), QStringLiteral("The Quillora developers"));
    ZLabel *name = new ZLabel(QStringLiteral("<qt><center><font size=\"+2\"><b>Quillora</b> %1</font><br>"
                                             "<font size=\"+1\">%2</font></center></qt>")
                                  .arg(QLatin1String(kVersion), author.toHtmlEscaped()),
                              content, QStringLiteral("aboutName"));
    name->setTextFormat(Qt::RichText);
    name->setWordWrap(true);
    layout->addWidget(name);

    layout->addStretch(1);

    const QString line1 = getText(m_lang, QStringLiteral("AboutCredits1"), QStringLiteral("A living desktop for the idle screen"));
    const QString line2 = getText(m_lang, QStringLiteral("AboutCredits2"), QStringLiteral("Lunar calendar, notices and weather"));
    ZLabel *credits = new ZLabel(QStringLiteral("<qt><center><font size=\"-1\">%1<br>%2</font></center></qt>")
                                     .arg(line1.toHtmlEscaped(), line2.toHtmlEscaped()),
                                 content, QStringLiteral("aboutCredits"));
    credits->setTextFormat(Qt::RichText);
    credits->setWordWrap(true);
    layout->addWidget(credits);
    setContentWidget(content);

    ZSoftKey *keys = new ZSoftKey(this);
    keys->setText(ZSoftKey::LEFT, getText(m_lang, QStringLiteral("OK"), QStringLiteral("OK")));
    keys->setClickedSlot(ZSoftKey::LEFT, this, SLOT(accept()));
    setSoftKey(keys);
}

void ZAboutDialog::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Back:
        reject();
        return;
    case ZKey::Select: // as OK
        accept();
        return;
    default:
        ZKbMainWidget::keyPressEvent(event);
    }
}
