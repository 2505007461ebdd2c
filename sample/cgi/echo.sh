#!/bin/sh
# Answers the forms of the Gullstone Point collection.
#
# The browser runs this program with one argument, the path of a parameter
# file that holds one "name=value" line per submitted control, and shows what
# it prints on standard output as the answer page. The page lists the lines
# it received; every value is escaped, so typed markup shows as text.

params=${1-}
collection=$(cd "$(dirname "$0")/.." 2>/dev/null && pwd)
cr=$(printf '\r')

escape_html() {
  printf '%s' "$1" | sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g'
}

print_row() {
  printf '<TR><TD BGCOLOR="#E8DFC4"><TT>%s</TT></TD><TD>%s</TD></TR>\n' \
    "$(escape_html "$1")" "$(escape_html "$2")"
}

print_received() {
  count=0
  echo '<TABLE BORDER=1 CELLPADDING=4 CELLSPACING=0 BGCOLOR="#FFFFF4" WIDTH="90%">'
  echo '<TR BGCOLOR="#123A6B"><TH ALIGN=left><FONT COLOR="#FFFFFF">Name</FONT></TH>'
  echo '<TH ALIGN=left><FONT COLOR="#FFFFFF">Value</FONT></TH></TR>'
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%"$cr"}
    [ -z "$line" ] && continue
    case $line in
      *=*) print_row "${line%%=*}" "${line#*=}" ;;
      *)   print_row "$line" "" ;;
    esac
    count=$((count + 1))
  done < "$params"
  echo '</TABLE>'
  echo "<P>$count line(s) received.</P>"
}

cat <<HEAD
<HTML>
<HEAD>
<TITLE>Thank you - Visitor's Book</TITLE>
</HEAD>
<BODY BGCOLOR="#F4EEDC" TEXT="#202040" LINK="#8B0000" VLINK="#555577">
<H1>Thank you!</H1>
<P>The visitor's book received these lines:</P>
HEAD

if [ -n "$params" ] && [ -f "$params" ] && [ -r "$params" ]; then
  print_received
else
  echo "<P><B>No parameter file was received.</B></P>"
fi

echo '<HR SIZE=1 NOSHADE>'
echo '<P><A HREF="BACK">Back to the form</A>'
if [ -n "$collection" ]; then
  echo " &#183; <A HREF=\"file://$(escape_html "$collection")/index.htm\">Home</A>"
fi
echo '</P>'
echo '</BODY>'
echo '</HTML>'
