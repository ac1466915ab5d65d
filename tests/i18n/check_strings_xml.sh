#!/bin/sh
# Checks the string table as the program stores it: the byte form that the
# loader relies on, the schema, and the rules of its rows.
# Usage: check_strings_xml.sh <strings.xml> <strings.xsd>
set -u
xml=$1
xsd=$2
fail() { echo "FAIL: $xml: $*"; exit 1; }

[ -s "$xml" ] || fail "missing or empty"

# UTF-8 byte-order mark, then the declaration on the first line.
bom=$(head -c 3 "$xml" | od -An -tx1 | tr -d ' \n')
[ "$bom" = "efbbbf" ] || fail "does not start with a UTF-8 byte-order mark"
first=$(head -n 1 "$xml" | tail -c +4)
[ "$first" = "$(printf '<?xml version="1.0" encoding="utf-8"?>\r')" ] || fail "first line is not the declaration"

# Every line ends with CR LF, and no CR stands alone.
lf=$(tr -cd '\n' <"$xml" | wc -c)
cr=$(tr -cd '\r' <"$xml" | wc -c)
crlf=$(od -An -v -tx1 "$xml" | tr -d ' \n' | grep -o '0d0a' | wc -l)
[ "$lf" -eq "$crlf" ] && [ "$cr" -eq "$crlf" ] || fail "has line ends other than CR LF"

# The loader does not hand the last byte to the parser.
last=$(tail -c 9 "$xml" | od -An -tx1 | tr -d ' \n')
[ "$last" = "3c2f526f6f743e0d0a" ] || fail "does not end with </Root> CR LF"

xmllint --noout --schema "$xsd" "$xml" || fail "is not valid"

count() { xmllint --xpath "$1" "$xml"; }
none() {
  n=$(count "count($1)") || fail "cannot evaluate $1"
  [ "$n" = "0" ] || fail "$n element(s) break the rule: $2"
}
none "/Root/Languages/Language[not(position()=1 and @Tag='ru' and @Codepage='1251' or position()=2 and @Tag='en' and @Codepage='1252' or position()=3 and @Tag='de' and @Codepage='1252' or position()=4 and @Tag='fr' and @Codepage='1252')]" \
  "the languages are ru 1251, en 1252, de 1252, fr 1252 in this order"
[ "$(count 'count(/Root/Languages/Language)')" = "4" ] || fail "does not offer four languages"
[ "$(count 'count(/Root/TextBlock)')" = "2" ] || fail "does not have two text blocks"
none "/Root/TextBlock[not(position()=1 and @Tag='Screensaver Settings Dialog' or position()=2 and @Tag='Screensaver')]" \
  "the text blocks are \"Screensaver Settings Dialog\" and \"Screensaver\""
none "//Var[count(String)!=4 or String[1]/@Lang!='ru' or String[2]/@Lang!='en' or String[3]/@Lang!='de' or String[4]/@Lang!='fr']" \
  "every Var holds its Strings in the order ru, en, de, fr"
none "//Var[String[@Lang='en']/@Text!=@Tag]" "the English text equals the Var's Tag"
none "//TextBlock[Var[last()]/@Tag!='' or Var[last()]/String/@Text!='']" "every text block ends with the empty Var"
echo "PASS: $xml"
