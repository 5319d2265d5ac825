#include "zsoftkey.h"

#include "zoptionsmenu.h"
#include "zphonestyle.h"

#include <QHBoxLayout>
#include <QLocale>
#include <QPushButton>

namespace {
QString g_ok;
QString g_cancel;

bool systemIsChinese()
{
    return QLocale::system().language() == QLocale::Chinese;
}
} // namespace

ZSoftKey::ZSoftKey(QWidget *parent, const QString &name)
    : QWidget(parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setAttribute(Qt::WA_StyledBackground, true);
    setFixedHeight(BarHeight);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int key = LEFT; key <= RIGHT; ++key) {
        auto *button = new QPushButton(this);
        button->setObjectName(key == LEFT ? QStringLiteral("zLeftKey") : QStringLiteral("zRightKey"));
        button->setFocusPolicy(Qt::NoFocus);
        button->setFont(ZPhoneStyle::font(10, true));
        button->setFlat(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QPushButton::clicked, this, [this, key] { click(key); });
        layout->addWidget(button, 1);
        m_keys[key] = button;
    }
}

void ZSoftKey::setText(int key, const QString &text)
{
    if (key == LEFT || key == RIGHT)
        m_keys[key]->setText(text);
}

QString ZSoftKey::text(int key) const
{
    return key == LEFT || key == RIGHT ? m_keys[key]->text() : QString();
}

void ZSoftKey::setClickedSlot(int key, QObject *receiver, const char *member)
{
    if (key == LEFT)
        connect(this, SIGNAL(leftClicked()), receiver, member);
    else if (key == RIGHT)
        connect(this, SIGNAL(rightClicked()), receiver, member);
}

void ZSoftKey::clearClickedSlot(int key)
{
    if (key == LEFT)
        disconnect(this, SIGNAL(leftClicked()), nullptr, nullptr);
    else if (key == RIGHT)
        disconnect(this, SIGNAL(rightClicked()), nullptr, nullptr);
    else
        return;
    m_menus[key] = nullptr;
}

void ZSoftKey::setOptMenu(int key, ZOptionsMenu *menu)
{
    if (key == LEFT || key == RIGHT)
        m_menus[key] = menu;
}

ZOptionsMenu *ZSoftKey::optMenu(int key) const
{
    return key == LEFT || key == RIGHT ? m_menus[key].data() : nullptr;
}

void ZSoftKey::click(int key)
{
    if (key != LEFT && key != RIGHT)
        return;
    if (m_keys[key]->text().isEmpty())
        return;
    if (ZOptionsMenu *menu = m_menus[key]) {
        menu->popupAbove(this);
        return;
    }
    emit clicked(key);
    if (key == LEFT)
        emit leftClicked();
    else
        emit rightClicked();
}

void ZSoftKey::setStandardTexts(const QString &ok, const QString &cancel)
{
    g_ok = ok;
    g_cancel = cancel;
}

QString ZSoftKey::standardOk()
{
    if (!g_ok.isEmpty())
        return g_ok;
    return systemIsChinese() ? QString::fromUtf8("确定") : QStringLiteral("OK");
}

QString ZSoftKey::standardCancel()
{
    if (!g_cancel.isEmpty())
        return g_cancel;
    return systemIsChinese() ? QString::fromUtf8("取消") : QStringLiteral("Cancel");
}
