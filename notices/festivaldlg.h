#pragma once
// The controls shared by the add and edit dialogs of festivals: a month picker, a day picker
// and the text, and the key "%02d/%02d" in group "CustomFestival". Every day 1 to 31 is
// offered in every month: "02/31" is the fallback entry shown when nothing else applies.
//
// A festival may instead fall on a lunar date: with "Lunar date" checked the pickers offer
// lunar months 1 to 12 and days 1 to 30 (by their Chinese names where the language says so),
// "Leap month" chooses the leap month after the chosen one, and the key is "%02d$%02d", the
// month negative for a leap month.

#include "entrydlg.h"
#include "namedpicker.h"

class ZCheckBox;

class FestivalDlg : public EntryDlg
{
    Q_OBJECT
public:
    ZNumPicker *monthPicker() const { return m_monthPicker; }
    ZNumPicker *dayPicker() const { return m_dayPicker; }
    ZCheckBox *lunarBox() const { return m_lunarBox; }
    ZCheckBox *leapBox() const { return m_leapBox; }
    // The key of the date the controls show.
    QString festivalKey() const;

    static QString group() { return QStringLiteral("CustomFestival"); }

protected:
    using EntryDlg::EntryDlg;
    // Title, "Time" label, the pickers with "/" between them, "Festival" label and text field.
    void buildControls(const QString &titleKey);
    // Sets the controls to a date: Gregorian month and day, or a lunar month (negative for a
    // leap month) and day.
    void setDate(bool lunar, int month, int day);

    NamedPicker *m_monthPicker = nullptr;
    NamedPicker *m_dayPicker = nullptr;
    ZCheckBox *m_lunarBox = nullptr;
    ZCheckBox *m_leapBox = nullptr;

private:
    // Switches the pickers between Gregorian and lunar dates.
    void setLunar(bool lunar);
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
    bool m_lunar = false;
    int m_month = 0; // negative for a lunar leap month
    int m_day = 0;
};
