#!/usr/bin/env node
// Generates the solar term table of the calendar (Gregorian years 1921 to 2100) and the
// reference dates its tests check: the day of each of the 24 solar terms in China Standard
// Time (UTC+8), and the day of every lunar New Year's Eve.
//
//   node termgen.js table       the table as C++ rows
//   node termgen.js reference   the reference dates, one a line
//
// A solar term is the instant at which the Sun's apparent geocentric ecliptic longitude
// reaches a multiple of 15 degrees; term 1 (小寒) is 285 degrees, each following term 15
// degrees further, term 24 (冬至) 270 degrees. The instants come from astronomy-engine
// (VSOP87 with precession, nutation and aberration, UT with Delta T). Each run also compares
// every date with a second, independent source, lunar-javascript, and reports on standard
// error; it exits with status 1 if a date cannot be encoded or the table does not decode to
// the reference.
'use strict';

const Astronomy = require('astronomy-engine');
const { Solar, LunarYear } = require('lunar-javascript');

const FIRST_YEAR = 1921;
const LAST_YEAR = 2100;
const NAMES = ['小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满', '芒种', '夏至',
               '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降', '立冬', '小雪', '大雪', '冬至'];
const DAY_MS = 86400000;
const CST_MS = 8 * 3600000;

function pad(n, w) {
    return String(n).padStart(w, '0');
}

// The day, in China Standard Time, of term k (1 to 24) of Gregorian year y: { month, day }.
function termDate(y, k) {
    const longitude = (285 + 15 * (k - 1)) % 360;
    const month = Math.ceil(k / 2);
    // Every term lies between the 3rd and the 25th of its month.
    const t = Astronomy.SearchSunLongitude(longitude, new Date(Date.UTC(y, month - 1, 1) - DAY_MS), 35);
    if (!t)
        throw new Error(`no instant for term ${k} of ${y}`);
    const cst = new Date(t.date.getTime() + CST_MS);
    return { year: cst.getUTCFullYear(), month: cst.getUTCMonth() + 1, day: cst.getUTCDate() };
}

// The Gregorian date of the last day of lunar year y (New Year's Eve), from lunar-javascript.
function newYearsEve(y) {
    const next = LunarYear.fromYear(y + 1).getMonthsInYear()[0];
    return Solar.fromJulianDay(next.getFirstJulianDay()).next(-1);
}

let problems = 0;
const terms = []; // terms[y - FIRST_YEAR][k - 1] = day of month
for (let y = FIRST_YEAR; y <= LAST_YEAR; ++y) {
    const row = [];
    for (let k = 1; k <= 24; ++k) {
        const d = termDate(y, k);
        if (d.year !== y || d.month !== Math.ceil(k / 2)) {
            ++problems;
            console.error(`term ${k} of ${y} falls in ${d.year}-${d.month}`);
        }
        row.push(d.day);
    }
    terms.push(row);
}

// Compact table: for each term the earliest day it falls on, and per year 2 bits a term for
// the days after that one.
const base = [];
for (let k = 0; k < 24; ++k) {
    const days = terms.map(r => r[k]);
    base.push(Math.min(...days));
    if (Math.max(...days) - base[k] > 3) {
        ++problems;
        console.error(`term ${k + 1} spreads over more than 4 days`);
    }
}
const table = terms.map(row => row.reduce((acc, day, k) => acc | (BigInt(day - base[k]) << BigInt(2 * k)), 0n));
table.forEach((bits, i) => terms[i].forEach((day, k) => {
    if (base[k] + Number((bits >> BigInt(2 * k)) & 3n) !== day) {
        ++problems;
        console.error(`table does not decode for term ${k + 1} of ${FIRST_YEAR + i}`);
    }
}));

// Second source: lunar-javascript names the term of a day from its own computation.
let differences = 0;
for (let y = FIRST_YEAR; y <= LAST_YEAR; ++y) {
    for (let k = 1; k <= 24; ++k) {
        const month = Math.ceil(k / 2);
        const ours = terms[y - FIRST_YEAR][k - 1];
        let theirs = 0;
        for (let day = ours - 2; day <= ours + 2; ++day)
            if (Solar.fromYmd(y, month, day).getLunar().getJieQi() === NAMES[k - 1])
                theirs = day;
        if (theirs !== ours) {
            ++differences;
            console.error(`second source differs: ${y}-${pad(month, 2)} ${NAMES[k - 1]}: ${ours} here, ${theirs} there`);
        }
    }
}
console.error(`${terms.length * 24} term dates from ${FIRST_YEAR} to ${LAST_YEAR}; `
              + `${differences} differ from the second source; ${problems} problem(s)`);

const mode = process.argv[2];
if (mode === 'table') {
    console.log(`const unsigned char kTermBaseDay[24] = {${base.join(', ')}};`);
    for (let i = 0; i < table.length; i += 4) {
        const row = table.slice(i, i + 4).map(b => `0x${b.toString(16).padStart(12, '0')}ULL,`).join(' ');
        console.log(`    ${row} // ${FIRST_YEAR + i}`);
    }
} else if (mode === 'reference') {
    console.log(`# Solar terms ${FIRST_YEAR} to ${LAST_YEAR} and lunar New Year's Eves of lunar years ${FIRST_YEAR} to ${LAST_YEAR}.`);
    console.log('# "T <date> <n>": term n (1 小寒 ... 24 冬至) falls on that date in China Standard Time.');
    console.log('# "E <date> <lunar year>": the last day of the lunar year.');
    console.log('# Generated by tools/termgen; do not edit by hand.');
    terms.forEach((row, i) => row.forEach((day, k) =>
        console.log(`T ${FIRST_YEAR + i}-${pad(Math.ceil((k + 1) / 2), 2)}-${pad(day, 2)} ${k + 1}`)));
    for (let y = FIRST_YEAR; y <= LAST_YEAR; ++y)
        console.log(`E ${newYearsEve(y).toYmd()} ${y}`);
} else {
    console.error('usage: node termgen.js table|reference');
    process.exit(2);
}
process.exit(problems === 0 ? 0 : 1);
