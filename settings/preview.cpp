#include "preview.h"

#include "device.h"
#include "themefile.h"
#include "drawimg.h"
#include "langtext.h"
#include "settingsfile.h"
#include "zconfig.h"
#include "zkeys.h"
#include "zsoftkey.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>

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
    // The whole picture, all its rows: without a header, and in a page that Up and Down scroll
    // past the soft-key bar, which never covers a row of it.
    setHeaderType(ZMainWidget::NoHeader);
    QPixmap shown;
    {
        DrawImg renderer;
        const QPixmap *picture = renderer.getPixmap();
        if (picture && !picture->isNull())
            shown = *picture;
    }
    page = new QScrollArea(this);
    page->setObjectName(QStringLiteral("previewPage"));
    page->setFrameShape(QFrame::NoFrame);
    page->setFocusPolicy(Qt::NoFocus);
    page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    page->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette black = page->palette();
    black.setColor(QPalette::Window, Qt::black);
    page->setPalette(black);
    page->viewport()->setPalette(black);
    QLabel *content = new QLabel;
    content->setObjectName(QStringLiteral("previewContent"));
    content->setPixmap(shown);
    content->setFixedSize(shown.isNull() ? QSize(ScreenWidth, ScreenHeight) : shown.size());
    content->setProperty("picture", shown);
    page->setWidget(content);
    setContentWidget(page);

    createSoftKey();
}

void PreView::createSoftKey()
{
    const QString languageDir = programDir + QStringLiteral("resource/language/");
    const QString language = languageFileFor(
        languageDir, settings->readEntry(QStringLiteral("Quillora"), QStringLiteral("Language"), QString()));
    const ZConfig lang(languageDir + language);

    softKey = new ZSoftKey(this);
    if (QFile::exists(ThemeFile::workingCopy())) {
        softKey->setText(ZSoftKey::LEFT, getText(&lang, QStringLiteral("Save"), QStringLiteral("Save")));
        softKey->setClickedSlot(ZSoftKey::LEFT, this, SLOT(accept()));
    }
    softKey->setText(ZSoftKey::RIGHT, getText(&lang, QStringLiteral("Back"), QStringLiteral("Back")));
    softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(reject()));
    setSoftKey(softKey);
}

void PreView::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Back:
        reject();
        return;
    case ZKey::Up:
    case ZKey::Down:
        // A page at a time: the rows below the visible part are at most a soft-key bar high.
        page->verticalScrollBar()->triggerAction(ZKey::code(event) == ZKey::Up ? QAbstractSlider::SliderPageStepSub
                                                                              : QAbstractSlider::SliderPageStepAdd);
        return;
    default:
        break;
    }
    ZKbMainWidget::keyPressEvent(event);
}
