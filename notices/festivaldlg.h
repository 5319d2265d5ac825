#pragma once
// The controls shared by the add and edit dialogs of festivals: a month picker, a day picker
// and the text, and the key "%02d/%02d" in group "CustomFestival". Every day 1 to 31 is
// offered in every month: "02/31" is the fallback entry shown when nothing else applies.

#include "entrydlg.h"

class ZNumPicker;

class FestivalDlg : public EntryDlg
{
    Q_OBJECT
public:
    ZNumPicker *monthPicker() const { return m_monthPicker; }
    ZNumPicker *dayPicker() const { return m_dayPicker; }
    // The key of the month and day the pickers show.
    QString festivalKey() const;

    static QString group() { return QStringLiteral("CustomFestival"); }

protected:
    using EntryDlg::EntryDlg;
    // Title, "Time" label, the pickers with "/" between them, "Festival" label and text field.
    void buildControls(const QString &titleKey);

    ZNumPicker *m_monthPicker = nullptr;
    ZNumPicker *m_dayPicker = nullptr;
};

class AddFestival : public FestivalDlg
{
    Q_OBJECT
public:
    explicit AddFestival(ZConfig *lang);

public slots:
    void add();

protected:
    void initApp();
    void CreateControls();
};

class EditFestival : public FestivalDlg
{
    Q_OBJECT
public:
    EditFestival(ZConfig *lang, const QString &key);

public slots:
    void edit();

protected:
    void initApp();
    void CreateControls();

private:
    QString m_key;
    int m_month = 0;
    int m_day = 0;
};
