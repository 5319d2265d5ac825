#!/usr/bin/env node
// Generates the renderer's lunar year table (lunar years 1921 to 2100) and the reference
// dates its tests check, from an independent lunar calendar library.
//
//   node lunargen.js table       the table as C++ rows, ten entries a row
//   node lunargen.js reference   the reference dates, one lunar month a line
//
// Both modes first verify, and report on standard error:
//   - that the first 100 generated entries equal the table the renderer has always had,
//   - that decoding the generated table day by day gives the library's lunar date for
//     every day from the first day of lunar 1921 to the first day of lunar 2101.
'use strict';

const { Solar, LunarYear } = require('lunar-javascript');

const FIRST_YEAR = 1921;
const LAST_YEAR = 2100;

// The table as shipped for lunar years 1921 to 2020.
const ORIGINAL = [
    2635, 333387, 1701, 1748, 267701, 694, 2391, 133423, 1175, 396438,
    3402, 3749, 331177, 1453, 694, 201326, 2350, 465197, 3221, 3402,
    400202, 2901, 1386, 267611, 605, 2349, 137515, 2709, 464533, 1738,
    2901, 330421, 1242, 2651, 199255, 1323, 529706, 3733, 1706, 398762,
    2741, 1206, 267438, 2647, 1318, 204070, 3477, 461653, 1386, 2413,
    330077, 1197, 2637, 268877, 3365, 531109, 2900, 2922, 398042, 2395,
    1179, 267415, 2635, 661067, 1701, 1748, 398772, 2742, 2391, 330031,
    1175, 1611, 200010, 3749, 527717, 1452, 2742, 332397, 2350, 3222,
    268949, 3402, 3493, 133973, 1386, 464219, 605, 2349, 334123, 2709,
    2890, 267946, 2773, 592565, 1210, 2651, 395863, 1323, 2707, 265877,
];

function ymd(solar) {
    return solar.toYmd();
}

// The months of lunar year y in order: { month (negative for leap), days, first (Solar) }.
function monthsOf(y) {
    return LunarYear.fromYear(y).getMonthsInYear().map(m => ({
        month: m.getMonth(),
        days: m.getDayCount(),
        first: Solar.fromJulianDay(m.getFirstJulianDay()),
    }));
}

// Encodes one lunar year: month lengths as bits from the first month down to bit 0,
// and the ordinary month that a leap month follows in bits 16 and up.
function encode(months) {
    let bits = 0;
    let leapAfter = 0;
    months.forEach((m, i) => {
        if (m.days !== 29 && m.days !== 30)
            throw new Error(`month of ${m.days} days`);
        if (m.days === 30)
            bits |= 1 << (months.length - 1 - i);
        if (m.month < 0) {
            if (i === 0 || months[i - 1].month !== -m.month)
                throw new Error('leap month not after its ordinary month');
            leapAfter = -m.month;
        }
    });
    if (months.length === 12) {
        if (leapAfter !== 0 || bits >= 4095)
            throw new Error('12-month year cannot be encoded');
        return bits;
    }
    if (months.length !== 13 || leapAfter === 0)
        throw new Error('13-month year without a leap month');
    return leapAfter * 65536 + bits;
}

// Decodes the table the way the renderer does: the lunar date of day number n (1-based).
function decode(table, n) {
    for (let m = 0; m < table.length; ++m) {
        const entry = table[m];
        const k = entry < 4095 ? 11 : 12;
        for (let b = k; b >= 0; --b) {
            const len = 29 + ((entry >> b) & 1);
            if (n > len) {
                n -= len;
                continue;
            }
            let month = k - b + 1;
            if (k === 12) {
                const leapPos = Math.floor(entry / 65536) + 1;
                if (month === leapPos)
                    month = 1 - month;
                else if (month > leapPos)
                    month -= 1;
            }
            return { year: FIRST_YEAR + m, month, day: n };
        }
    }
    return null;
}

const years = [];
for (let y = FIRST_YEAR; y <= LAST_YEAR; ++y)
    years.push({ year: y, months: monthsOf(y) });
const table = years.map(y => encode(y.months));

let problems = 0;

// The given entries must come out unchanged.
ORIGINAL.forEach((e, i) => {
    if (table[i] !== e) {
        ++problems;
        console.error(`DIFFERENCE lunar ${FIRST_YEAR + i}: shipped ${e}, generated ${table[i]}`);
    }
});
if (problems === 0)
    console.error(`the ${ORIGINAL.length} shipped entries are reproduced exactly`);

// Every day of the table against the library's own conversion.
const start = years[0].months[0].first;
const end = monthsOf(LAST_YEAR + 1)[0].first; // first day after the table
const total = end.subtract(start);
for (let n = 1; n <= total; ++n) {
    const solar = start.next(n - 1);
    const lunar = solar.getLunar();
    const got = decode(table, n);
    if (!got || got.year !== lunar.getYear() || got.month !== lunar.getMonth() || got.day !== lunar.getDay()) {
        ++problems;
        if (problems < 20)
            console.error(`MISMATCH ${ymd(solar)}: table ${JSON.stringify(got)}, library ${lunar.getYear()}/${lunar.getMonth()}/${lunar.getDay()}`);
    }
}
if (decode(table, total + 1) !== null) {
    ++problems;
    console.error('the table does not end where lunar 2101 begins');
}
console.error(`${total} days checked from ${ymd(start)} to ${ymd(end.next(-1))}; ${problems} problem(s)`);

const mode = process.argv[2];
if (mode === 'table') {
    for (let i = 0; i < table.length; i += 10) {
        const row = table.slice(i, i + 10).map(e => (e + ',').padEnd(8)).join('');
        console.log(`    ${row}// ${FIRST_YEAR + i}`);
    }
} else if (mode === 'reference') {
    console.log('# Lunar calendar reference dates for lunar years 1921 to 2100.');
    console.log('# One line per lunar month: the Gregorian date of its first day, the lunar year,');
    console.log('# and the lunar month (negative for a leap month). The last line is the first day');
    console.log('# after the table, the lunar New Year of 2101.');
    console.log('# Generated by tools/lunargen; do not edit by hand.');
    for (const y of years)
        for (const m of y.months)
            console.log(`${ymd(m.first)} ${y.year} ${m.month}`);
    console.log(`${ymd(end)} ${LAST_YEAR + 1} 1`);
} else {
    console.error('usage: node lunargen.js table|reference');
    process.exit(2);
}
process.exit(problems === 0 ? 0 : 1);
