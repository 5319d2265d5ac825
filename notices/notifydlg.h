#pragma once
// The controls shared by the add and edit dialogs of notices: a date control and the text,
// and the key "%04d/%02d/%02d" of the chosen date in group "CustomNotify".

#include "entrydlg.h"

#include <QDate>

class ZDateModule;

class NotifyDlg : public EntryDlg
{
    Q_OBJECT
public:
    ZDateModule *dateModule() const { return m_dateModule; }
    // The key of the date the control shows.
    QString noticeKey() const;

    static QString group() { return QStringLiteral("CustomNotify"); }
    // Year, month and day of a key "%04d/%02d/%02d"; an invalid date when it holds none.
    static QDate parseKey(const QString &key);

protected:
    using EntryDlg::EntryDlg;
    // Title, "Date" label, date control, "Notice" label and text field at their places.
    void buildControls(const QString &titleKey);

    ZDateModule *m_dateModule = nullptr;
};

class AddNotify : public NotifyDlg
{
    Q_OBJECT
public:
    explicit AddNotify(ZConfig *lang);

public slots:
    void add();

protected:
    void initApp();
    void CreateControls();
};

class EditNotify : public NotifyDlg
{
    Q_OBJECT
public:
    EditNotify(ZConfig *lang, const QString &key);

public slots:
    void edit();

protected:
    void initApp();
    void CreateControls();

private:
    QString m_key;
    QDate m_date;
};
