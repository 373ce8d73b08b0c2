#!/usr/bin/python3
"""Builds res/countries.db, the country library the application carries.

Usage:
    /usr/bin/python3 tools/countries/gen_countries.py MCC_MNC_LIST_JSON \
        [--serviceproviders FILE] [--output FILE]

MCC_MNC_LIST_JSON is the data file of the npm package mcc-mnc-list, pinned
at version 1.1.11:

    npm install --prefix /tmp/mccmnc mcc-mnc-list@1.1.11
    /usr/bin/python3 tools/countries/gen_countries.py \
        /tmp/mccmnc/node_modules/mcc-mnc-list/mcc-mnc-list.json

Sources read (the versions this file was last generated from):
  - phone-number metadata: Debian python3-phonenumbers 8.12.57 (the Python
    port of libphonenumber's per-region metadata);
  - region names: Debian python3-babel 2.10.3 with its CLDR locale data;
  - mobile country codes: Debian mobile-broadband-provider-info 20230416
    (/usr/share/mobile-broadband-provider-info/serviceproviders.xml) and the
    npm package mcc-mnc-list 1.1.11 (MCC, MNC and ISO region of each network).
The script refuses to run with other versions of phonenumbers or
mcc-mnc-list unless --any-version is given, so that a regenerated file
differs only when someone meant it to.

Tables written (nothing else; rows in key order, so the same input gives a
byte-identical file with the same SQLite library):
  countries(sn CHAR(2) PRIMARY KEY, ln, pnum, mmc, numc, u2, r1, r2, r3, r4,
            mnc_rx, n), index index_countries_pnum on countries(pnum)
  mmc_sn(mmc CHAR(3) PRIMARY KEY, sn CHAR(2)), index index_mmc_sn on mmc_sn(sn)

Columns of countries, per region of REGIONS:
  sn      the region code.
  ln      the region's name in its own main language (babel): the language of
          CLDR's likely locale for the region when that language is official
          there, else the first official language babel has names for, else
          English.
  pnum    the country calling code.
  mmc     the region's mobile country codes, ascending, comma-separated; 999
          when neither MCC source names one for it (see below).
  numc    possible lengths of a national significant number (the general
          description's lengths; local-only lengths left out), ascending.
  u2      national prefixes: the metadata's national prefix plus the prefixes
          of the national-prefix-for-parsing rule when that rule is a plain
          list of digits (0|1) or a digit class ([08]); ascending.
  r1      the mobile number pattern.
  r2      the number-format patterns, ';'-separated.
  r3      the format templates of r2 with \\1 written as $1, ';'-separated.
  r4      per format its leading-digit patterns, '#'-separated, the entries
          ';'-separated. A region without formats of its own (CA, GG, ...)
          carries those of the main region of its calling code, which is what
          formatting in libphonenumber falls back to as well.
  mnc_rx  the international call prefix pattern.
  n       the English name (CLDR, e.g. "Hong Kong SAR China").

Mobile country codes:
  Both MCC sources give networks as (region, MCC) pairs; pairs are counted
  per region and MCC (entries of mcc-mnc-list of type "International" or
  "Test", without a region, or of sub-regions such as GE-AB are skipped;
  entries naming several regions, "BL/GF/GP/MF/MQ", count for each). The
  owner of an MCC is the region with the most networks under it; on a tie
  the main region of a calling code (CW for +599) goes before the others,
  then the region codes in alphabetical order. A region lists the MCCs it owns; a
  region that owns none lists every MCC it has networks under (Guernsey,
  Jersey and the Isle of Man list 234, Guam and the U.S. Virgin Islands 310
  and 311); a region with no networks at all lists 999. Stray entries of a
  region under a neighbour's MCC therefore do not end up in its list (RU does
  not list Ukraine's 255, BM not 310).
  Then the fixed values below replace computed ones. mmc_sn is built last
  from the final lists: one row per MCC that any region lists, naming the
  region that owns it among the regions listing it (234 and 235 name GB,
  999 names AX, the rest by the count rule above). So every MCC a region
  lists maps to a region that lists it too.
  Row count: the original library has 235 rows in mmc_sn; these sources give
  the number printed at the end of a run (231 for the versions above). The
  difference comes from today's MCC assignments, which do not match the
  older data the original was built from; nothing in the application
  depends on the exact count.

Fixed values (the application's documented behaviour relies on them):
  - GB, US, CN, IN, DE, RU, NL, KR, IT, AX, AC: ln, pnum, mmc, numc, n and,
    where given, r1 are set to the values of TELLING_ROWS, whatever the
    sources say (for example the metadata's lengths of GB are 7, 9 and 10,
    the library keeps 10; India's local name is the English "India"; AX and
    AC list 999).
  - DE: r1 is the metadata's pattern 15[0-25-9]\\d{8}|1(?:6[023]|7\\d)\\d{7,8}
    written with its inner group distributed into top-level alternatives
    (15[0-25-9]\\d{8}|16[023]\\d{7,8}|17\\d{8,9}), the same set of numbers.
  - r1 is empty for exactly three regions: AC (the table above), IO (British
    Indian Ocean Territory: Diego Garcia has no public mobile network; the
    metadata's 38xxxxx range is the base's own service) and VA (Vatican City:
    it has no mobile numbering of its own, its metadata repeats Italy's
    mobile ranges under +39, where IT already holds them).
"""

import argparse
import json
import os
import re
import sqlite3
import sys
import xml.etree.ElementTree as ET
from collections import defaultdict

import babel
import phonenumbers
from babel import Locale, UnknownLocaleError
from babel.languages import get_official_languages
from phonenumbers import PhoneMetadata

PHONENUMBERS_VERSION = "8.12.57"
MCC_MNC_LIST_VERSION = "1.1.11"
DEFAULT_SERVICEPROVIDERS = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml"

REGIONS = (
    "AC AD AE AF AG AI AL AM AO AR AS AT AU AW AX AZ BA BB BD BE BF BG BH BI BJ BL BM BN BO BQ "
    "BR BS BT BW BY BZ CA CC CD CF CG CH CI CK CL CM CN CO CR CU CV CW CX CY CZ DE DJ DK DM DO "
    "DZ EC EE EG ER ES ET FI FJ FK FM FO FR GA GB GD GE GF GG GH GI GL GM GN GP GQ GR GT GU GW "
    "GY HK HN HR HT HU ID IE IL IM IN IO IQ IR IS IT JE JM JO JP KE KG KH KI KM KN KP KR KW KY "
    "KZ LA LB LC LI LK LR LS LT LU LV LY MA MC MD ME MF MG MH MK ML MM MN MO MP MQ MR MS MT MU "
    "MV MW MX MY MZ NA NC NE NF NG NI NL NO NP NR NU NZ OM PA PE PF PG PH PK PL PM PR PS PT PW "
    "PY QA RE RO RS RU RW SA SB SC SD SE SG SH SI SJ SK SL SM SN SO SR SS ST SV SX SY SZ TC TD "
    "TG TH TJ TK TL TM TN TO TR TT TV TW TZ UA UG US UY UZ VA VC VE VG VI VN VU WF WS YE YT ZA "
    "ZM ZW"
).split()

TELLING_ROWS = {
    "GB": dict(ln="United Kingdom", pnum="44", mmc="234,235", numc="10", n="United Kingdom"),
    "US": dict(ln="United States", pnum="1", mmc="310,311,312,313,314,315,316", numc="10",
               n="United States"),
    "CN": dict(ln="中国", pnum="86", mmc="460", numc="11",
               r1=r"1(?:3\d|4[57]|[58][0-35-9])\d{8}|184\d{8}", n="China"),
    "IN": dict(ln="India", pnum="91", mmc="404,405", numc="10", r1=r"[7-9]\d{9}", n="India"),
    "DE": dict(ln="Deutschland", pnum="49", mmc="262", numc="7,8,9,10,11,12",
               r1=r"15[0-25-9]\d{8}|16[023]\d{7,8}|17\d{8,9}", n="Germany"),
    "RU": dict(ln="Россия", pnum="7", mmc="250", numc="10", r1=r"9\d{9}", n="Russia"),
    "NL": dict(ln="Nederland", pnum="31", mmc="204", numc="9", r1=r"6[1-58]\d{7}",
               n="Netherlands"),
    "KR": dict(ln="대한민국", pnum="82", mmc="450", numc="9,10", r1=r"1[0-26-9]\d{7,8}",
               n="South Korea"),
    "IT": dict(ln="Italia", pnum="39", mmc="222", numc="9,10",
               r1=r"3(?:[12457-9]\d{8}|6\d{7,8}|3\d{7,9})", n="Italy"),
    "AX": dict(ln="Åland", pnum="358", mmc="999", numc="6,7,8,9,10,11",
               r1=r"4\d{5,10}|50\d{4,8}", n="Åland Islands"),
    "AC": dict(ln="Ascension Island", pnum="247", mmc="999", numc="4", r1="",
               n="Ascension Island"),
}

# Regions whose mobile pattern stays empty besides AC (see the header).
NO_MOBILE_PATTERN = ("IO", "VA")

# The pattern DE had in the metadata the distributed form above was written from.
DE_METADATA_R1 = r"15[0-25-9]\d{8}|1(?:6[023]|7\d)\d{7,8}"

NO_MCC = "999"
FORCED_MCC_OWNERS = {"234": "GB", "235": "GB", NO_MCC: "AX"}

COLUMNS = ("sn", "ln", "pnum", "mmc", "numc", "u2", "r1", "r2", "r3", "r4", "mnc_rx", "n")

SCHEMA = (
    "CREATE TABLE countries (sn CHAR(2) PRIMARY KEY, ln TEXT, pnum TEXT, mmc TEXT, numc TEXT, "
    "u2 TEXT, r1 TEXT, r2 TEXT, r3 TEXT, r4 TEXT, mnc_rx TEXT, n TEXT)",
    "CREATE INDEX index_countries_pnum ON countries(pnum)",
    "CREATE TABLE mmc_sn (mmc CHAR(3) PRIMARY KEY, sn CHAR(2))",
    "CREATE INDEX index_mmc_sn ON mmc_sn(sn)",
)


def fail(message):
    sys.exit("gen_countries: " + message)


# ---------------------------------------------------------------- names

def english_name(sn):
    name = Locale("en").territories.get(sn)
    if not name:
        fail("no English name for " + sn)
    return name


def locale_or_none(tag):
    try:
        return Locale.parse(tag)
    except (UnknownLocaleError, ValueError):
        return None


def local_name(sn):
    official = get_official_languages(sn, de_facto=True)
    likely = locale_or_none("und_" + sn)
    if likely is not None and likely.language in {lang.split("_")[0] for lang in official}:
        name = likely.territories.get(sn)
        if name:
            return name
    for lang in official:
        for tag in (lang + "_" + sn, lang):
            loc = locale_or_none(tag)
            if loc is not None and loc.territories.get(sn):
                return loc.territories[sn]
    if likely is not None and likely.territories.get(sn):
        return likely.territories[sn]
    return english_name(sn)


# ---------------------------------------------------------------- numbering

def joined(parts, separator):
    for part in parts:
        if ";" in part or "#" in part:
            fail("separator inside a pattern: " + part)
    return separator.join(parts)


def national_prefixes(meta):
    prefixes = set()
    if meta.national_prefix:
        prefixes.add(meta.national_prefix)
    rule = meta.national_prefix_for_parsing or ""
    if re.fullmatch(r"\d+(?:\|\d+)*", rule):
        prefixes.update(rule.split("|"))
    elif re.fullmatch(r"\[\d+\]", rule):
        prefixes.update(rule[1:-1])
    return ",".join(sorted(prefixes, key=lambda p: (int(p), len(p))))


def format_columns(meta):
    formats = list(meta.number_format)
    if not formats:
        main = phonenumbers.region_code_for_country_code(meta.country_code)
        formats = list(PhoneMetadata.metadata_for_region(main).number_format)
    r2 = joined([f.pattern for f in formats], ";")
    r3 = joined([re.sub(r"\\(\d)", r"$\1", f.format) for f in formats], ";")
    r4 = ";".join(joined(list(f.leading_digits_pattern), "#") for f in formats)
    return r2, r3, r4


def numbering_row(sn):
    meta = PhoneMetadata.metadata_for_region(sn)
    if meta is None:
        fail("no phone-number metadata for " + sn)
    lengths = sorted(set(meta.general_desc.possible_length or ()))
    if not lengths or lengths[0] <= 0:
        fail("no possible lengths for " + sn)
    mobile = meta.mobile.national_number_pattern if meta.mobile else None
    r2, r3, r4 = format_columns(meta)
    return dict(
        pnum=str(meta.country_code),
        numc=",".join(str(n) for n in lengths),
        u2=national_prefixes(meta),
        r1=mobile or "",
        r2=r2,
        r3=r3,
        r4=r4,
        mnc_rx=meta.international_prefix or "",
    )


# ---------------------------------------------------------------- MCCs

def count_mcc_mnc_list(path, counts):
    with open(path, encoding="utf-8") as f:
        entries = json.load(f)
    for entry in entries:
        if entry.get("type") != "National":
            continue
        mcc = str(entry.get("mcc") or "")
        code = entry.get("countryCode") or ""
        if not re.fullmatch(r"\d{3}", mcc):
            continue
        for sn in code.split("/"):
            if re.fullmatch(r"[A-Z]{2}", sn):
                counts[sn][mcc] += 1


def count_serviceproviders(path, counts):
    for country in ET.parse(path).getroot().iter("country"):
        sn = (country.get("code") or "").upper()
        for network in country.iter("network-id"):
            mcc = network.get("mcc") or ""
            if re.fullmatch(r"[A-Z]{2}", sn) and re.fullmatch(r"\d{3}", mcc):
                counts[sn][mcc] += 1


def is_main_region(sn):
    code = PhoneMetadata.metadata_for_region(sn).country_code
    return phonenumbers.region_code_for_country_code(code) == sn


def owner_among(mcc, candidates, counts):
    forced = FORCED_MCC_OWNERS.get(mcc)
    if forced in candidates:
        return forced
    return min(candidates, key=lambda sn: (-counts[sn][mcc], not is_main_region(sn), sn))


def region_mcc_lists(counts):
    holders = defaultdict(list)
    for sn in REGIONS:
        for mcc in counts[sn]:
            holders[mcc].append(sn)
    owned = defaultdict(set)
    for mcc, regions in holders.items():
        owned[owner_among(mcc, regions, counts)].add(mcc)
    lists = {}
    for sn in REGIONS:
        mccs = owned[sn] or set(counts[sn])
        lists[sn] = ",".join(sorted(mccs)) if mccs else NO_MCC
    return lists


def mmc_rows(rows, counts):
    listed_by = defaultdict(list)
    for row in rows:
        for mcc in row["mmc"].split(","):
            listed_by[mcc].append(row["sn"])
    result = []
    for mcc in sorted(listed_by):
        if mcc in FORCED_MCC_OWNERS and FORCED_MCC_OWNERS[mcc] not in listed_by[mcc]:
            fail("%s must belong to %s, which does not list it" % (mcc, FORCED_MCC_OWNERS[mcc]))
        result.append((mcc, owner_among(mcc, listed_by[mcc], counts)))
    return result


# ---------------------------------------------------------------- rows

def build_rows(counts):
    if PhoneMetadata.metadata_for_region("DE").mobile.national_number_pattern != DE_METADATA_R1:
        fail("the metadata's DE mobile pattern changed; review TELLING_ROWS['DE']['r1']")
    mcc_lists = region_mcc_lists(counts)
    rows = []
    for sn in REGIONS:
        row = dict(sn=sn, ln=local_name(sn), mmc=mcc_lists[sn], n=english_name(sn))
        row.update(numbering_row(sn))
        if sn in NO_MOBILE_PATTERN:
            row["r1"] = ""
        row.update(TELLING_ROWS.get(sn, {}))
        rows.append(row)
    empty = [row["sn"] for row in rows if not row["r1"]]
    if sorted(empty) != sorted(("AC",) + NO_MOBILE_PATTERN):
        fail("regions without a mobile pattern: " + ", ".join(empty))
    return rows


def write_database(path, rows, mmc_sn):
    temporary = path + ".tmp"
    if os.path.exists(temporary):
        os.remove(temporary)
    db = sqlite3.connect(temporary)
    with db:
        for statement in SCHEMA:
            db.execute(statement)
        db.executemany(
            "INSERT INTO countries(%s) VALUES(%s)" % (",".join(COLUMNS), ",".join("?" * len(COLUMNS))),
            [tuple(row[c] for c in COLUMNS) for row in rows])
        db.executemany("INSERT INTO mmc_sn(mmc, sn) VALUES(?, ?)", mmc_sn)
    db.execute("VACUUM")
    db.close()
    os.replace(temporary, path)


def package_version(data_file):
    manifest = os.path.join(os.path.dirname(os.path.abspath(data_file)), "package.json")
    try:
        with open(manifest, encoding="utf-8") as f:
            return json.load(f).get("version")
    except (OSError, ValueError):
        return None


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Builds the country library res/countries.db.")
    parser.add_argument("mcc_mnc_list", help="mcc-mnc-list.json of the npm package mcc-mnc-list")
    parser.add_argument("--serviceproviders", default=DEFAULT_SERVICEPROVIDERS)
    parser.add_argument("--output", default=os.path.join(here, "..", "..", "res", "countries.db"))
    parser.add_argument("--any-version", action="store_true",
                        help="run with source versions other than the pinned ones")
    args = parser.parse_args()

    found = {"phonenumbers": phonenumbers.__version__, "mcc-mnc-list": package_version(args.mcc_mnc_list)}
    wanted = {"phonenumbers": PHONENUMBERS_VERSION, "mcc-mnc-list": MCC_MNC_LIST_VERSION}
    if found != wanted and not args.any_version:
        fail("expected %s, found %s (use --any-version to go on)" % (wanted, found))

    counts = defaultdict(lambda: defaultdict(int))
    count_mcc_mnc_list(args.mcc_mnc_list, counts)
    count_serviceproviders(args.serviceproviders, counts)

    rows = build_rows(counts)
    mmc_sn = mmc_rows(rows, counts)
    write_database(os.path.normpath(args.output), rows, mmc_sn)
    print("wrote %s: %d countries, %d mmc_sn rows (phonenumbers %s, babel %s, mcc-mnc-list %s)"
          % (os.path.normpath(args.output), len(rows), len(mmc_sn), found["phonenumbers"],
             babel.__version__, found["mcc-mnc-list"]))


if __name__ == "__main__":
    main()
