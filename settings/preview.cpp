#include "preview.h"

#include "device.h"
#include "drawimg.h"
#include "langtext.h"
#include "settingsfile.h"
#include "zconfig.h"
#include "zkeys.h"
#include "zsoftkey.h"

#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

PreView::PreView()
    : MyBaseDlg()
{
    initApp();
    CreateControls();
}

PreView::~PreView() = default;

void PreView::initApp()
{
    programDir = getProgramDir();
    settings = SettingsFile::open(programDir);
}

void PreView::CreateControls()
{
    setHeaderType(ZMainWidget::SlimHeader);
    QWidget *content = new QWidget(this);
    content->setObjectName(QStringLiteral("previewContent"));

    // The desktop picture without its top rows, as many as the header covers.
    QPixmap shown;
    {
        DrawImg renderer;
        const QPixmap *picture = renderer.getPixmap();
        const int cut = headerSize();
        if (picture && !picture->isNull()) {
            shown = QPixmap(picture->width(), qMax(1, picture->height() - cut));
            shown.fill(Qt::black);
            QPainter p(&shown);
            p.drawPixmap(0, 0, *picture, 0, cut, picture->width(), picture->height() - cut);
        }
    }
    QPalette pal = content->palette();
    pal.setBrush(QPalette::Window, QBrush(shown));
    content->setPalette(pal);
    content->setAutoFillBackground(true);
    content->setProperty("picture", shown);
    setContentWidget(content);

    createSoftKey();
}

void PreView::createSoftKey()
{
    const QString languageDir = programDir + QStringLiteral("resource/language/");
    const QString language = languageFileFor(
        languageDir, settings->readEntry(QStringLiteral("Quillora"), QStringLiteral("Language"), QString()));
    const ZConfig lang(languageDir + language);

    softKey = new ZSoftKey(this);
    if (QFile::exists(Platform::phonePath(QStringLiteral("/tmp/tmp.theme")))) {
        softKey->setText(ZSoftKey::LEFT, getText(&lang, QStringLiteral("Save"), QStringLiteral("Save")));
        softKey->setClickedSlot(ZSoftKey::LEFT, this, SLOT(accept()));
    }
    softKey->setText(ZSoftKey::RIGHT, getText(&lang, QStringLiteral("Back"), QStringLiteral("Back")));
    softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(reject()));
    setSoftKey(softKey);
}

void PreView::keyPressEvent(QKeyEvent *event)
{
    if (ZKey::code(event) == ZKey::Back) {
        reject();
        return;
    }
    ZKbMainWidget::keyPressEvent(event);
}
