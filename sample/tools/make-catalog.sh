#!/bin/sh
# Writes ../catalog.htm, the long catalogue page of the Gullstone Point
# collection (about 150 KB: used for scrolling, printing and search tests).
# The entries come from a fixed pseudo-random sequence, so the page is the
# same on every run; a few numbers are fixed objects that other pages link to.
set -eu
cd "$(dirname "$0")/.."

awk -v COUNT=640 '
function rnd(n) { seed = (seed * 16807) % 2147483647; return seed % n }
function pick(list,   parts, k) { k = split(list, parts, "|"); return parts[rnd(k) + 1] }
BEGIN {
  seed = 19980401
  objects = "oil can|wick trimmer|lamp chimney|burner|reservoir|lens cloth|brass dust pan|" \
            "fog bell clapper|signal flag|telescope|barometer|thermometer|logbook volume|" \
            "paraffin measure|spare prism|clockwork key|governor vane|lantern curtain|" \
            "storm lamp|speaking tube mouthpiece|uniform cap|uniform jacket|tea caddy|" \
            "chart of the bay|tide table|notice to mariners|printing block|type case|" \
            "photograph|letter|postcard|model of the tower|ship model|rope fender|" \
            "lifebuoy|rocket line|warning gun tompion|powder flask|lamp changer part|" \
            "alarm computer|floppy disk of the inventory|telephone handset"
  materials = "brass|copper|iron|steel|glass|wood|oak|canvas|paper|card|wool|cotton|" \
              "leather|tin|bronze|porcelain|plastic"
  rooms = "Store|Kitchen|Watch Room|Service Room|Lantern|Oil Store|Cottage parlour|" \
          "Print room|Garden shed"
  donors = "Penhallow family|Trevail family|Nance family|Ashby family|Harbour board|" \
           "Gullstone school|Friends of Gullstone Light|found on site|bought at auction|" \
           "lent by the county museum"
  states = "good|fair|worn|repaired|restored 1996|very good|incomplete|on display|in store"

  fixed[1]   = "The first lamp of the light, 1877|brass|Lantern|1877|Penhallow family|on display"
  fixed[117] = "Ship\047s bell of the schooner <I>Marianne</I>|bronze|Oil Store|1889|found on site|restored 1996"
  fixed[204] = "Keepers\047 log, volume 1 (1877&#8211;1882)|paper|Watch Room|1877|Harbour board|on display"
  fixed[333] = "Hand press for notices to mariners|iron|Print room|1880|Harbour board|working"
  fixed[512] = "Inventory of the collection on 3&frac12;&quot; floppy disk|plastic|Store|1995|Friends of Gullstone Light|in store"
  fixed[640] = "The last lamp changer log sheet|paper|Watch Room|1987|Ashby family|on display"

  print "<HTML>"
  print "<HEAD>"
  print "<TITLE>Catalogue of the Collection</TITLE>"
  print "<META NAME=\"description\" CONTENT=\"The full catalogue of the " COUNT " objects in the collection of the Gullstone Point lighthouse museum.\">"
  print "<META NAME=\"keywords\" CONTENT=\"catalogue, collection, objects, lantern, lens, fog bell, logbook, lighthouse museum\">"
  print "<!-- Written by tools/make-catalog.sh; edit the script, not this page. -->"
  print "</HEAD>"
  print "<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000CC\" VLINK=\"#551A8B\">"
  print ""
  print "<P><FONT FACE=\"Arial\" SIZE=2><A HREF=\"index.htm\">Home</A> &gt; Catalogue</FONT></P>"
  print "<A NAME=\"top\"></A>"
  print "<H1>Catalogue of the Collection</H1>"
  print "<P>Every object held by the museum, by catalogue number. Objects on display can be"
  print "found in the room named; the others may be seen on request. The catalogue is long:"
  print "jump to a hundred below, or use the search screen.</P>"
  printf "<P ALIGN=center><FONT FACE=\"Arial\" SIZE=2>"
  for (h = 0; h < COUNT; h += 100)
    printf "%s<A HREF=\"#r%03d\">%04d&#8211;%04d</A>", (h ? " | " : ""), h, h + 1, (h + 100 < COUNT ? h + 100 : COUNT)
  print "</FONT></P>"

  for (n = 1; n <= COUNT; n++) {
    if ((n - 1) % 100 == 0) {
      if (n > 1) print "</TABLE>\n<P ALIGN=right><FONT SIZE=1><A HREF=\"#top\">top</A></FONT></P>"
      h = n - 1
      printf "\n<A NAME=\"r%03d\"></A>\n<H2>Numbers %04d to %04d</H2>\n", h, n, (h + 100 < COUNT ? h + 100 : COUNT)
      print "<TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0 WIDTH=\"100%\">"
      print "<TR BGCOLOR=\"#123A6B\"><TH WIDTH=\"10%\"><FONT COLOR=\"#FFFFFF\">No.</FONT></TH>" \
            "<TH ALIGN=left><FONT COLOR=\"#FFFFFF\">Object</FONT></TH>" \
            "<TH WIDTH=\"10%\"><FONT COLOR=\"#FFFFFF\">Material</FONT></TH>" \
            "<TH WIDTH=\"14%\"><FONT COLOR=\"#FFFFFF\">Room</FONT></TH>" \
            "<TH WIDTH=\"7%\"><FONT COLOR=\"#FFFFFF\">Year</FONT></TH>" \
            "<TH WIDTH=\"20%\"><FONT COLOR=\"#FFFFFF\">Source</FONT></TH>" \
            "<TH WIDTH=\"11%\"><FONT COLOR=\"#FFFFFF\">State</FONT></TH></TR>"
    }
    if (n in fixed) {
      split(fixed[n], f, "|")
      object = "<B>" f[1] "</B>"; material = f[2]; room = f[3]; year = f[4]; donor = f[5]; state = f[6]
    } else {
      object = pick(objects); material = pick(materials); room = pick(rooms)
      year = 1877 + rnd(111); donor = pick(donors); state = pick(states)
      object = toupper(substr(object, 1, 1)) substr(object, 2)
      if (rnd(5) == 0) object = object ", pair"
      if (rnd(7) == 0) object = object " (" (1 + rnd(12)) " pieces)"
    }
    printf "<TR%s><TD ALIGN=center><TT><A NAME=\"GP-%04d\">GP-%04d</A></TT></TD><TD>%s</TD><TD>%s</TD><TD>%s</TD><TD ALIGN=center>%d</TD><TD>%s</TD><TD>%s</TD></TR>\n", \
      (n % 2 ? "" : " BGCOLOR=\"#EEF3F8\""), n, n, object, material, room, year, donor, state
  }
  print "</TABLE>"
  print "<P ALIGN=right><FONT SIZE=1><A HREF=\"#top\">top</A></FONT></P>"
  print "<HR SIZE=1 NOSHADE>"
  print "<P><FONT SIZE=2>" COUNT " objects. Catalogue compiled by the Friends of Gullstone Light, 1998."
  print "<A HREF=\"index.htm\">Home</A></FONT></P>"
  print "</BODY>"
  print "</HTML>"
}' > catalog.htm
ls -l catalog.htm
