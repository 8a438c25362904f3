==> gnuplot $TMP/<1> -
reset
set autoscale x
set autoscale x2
set autoscale y
set autoscale y2
set border 1
unset grid
set key
set boxwidth
set format x "%g"
set format y "%g"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
set arrow from 4.000000, 8.000000, 0.000000 to -5.000000, 8.000000, 0.000000
set arrow from 3.000000, 5.000000, 0.000000 to -5.000000, 5.000000, 0.000000
set arrow from -1.000000, 1.000000, 0.000000 to 5.000000, 1.000000, 0.000000
set arrow from 2.000000, 0.000000, 0.000000 to -5.000000, 0.000000, 0.000000
unset label
set xtics border nomirror 1.000000
unset x2tics
unset ytics
unset y2tics
unset ztics
set ztics nomirror
set bmargin -1.000000
set lmargin -1.000000
set rmargin -1.000000
set tmargin -1.000000
set offsets 0.000000, 0.000000, 0.000000, 0.000000
set origin 0.000000, 0.000000
set size noratio 1.000000, 0.800000
set tics in
unset x2tics
unset ytics
unset y2tics
unset timestamp
set xrange [-5.000000:5.000000]
set yrange [0.000000:15.000000]
set xzeroaxis lt 1 lw 1 lc rgbcolor "black"
unset yzeroaxis
unset zzeroaxis
unset x2zeroaxis
unset y2zeroaxis
bind "Close" "if (GPVAL_TERM eq \'wxt\') exit gnuplot; else exit"
set terminal wxt title "Zu"
set xlabel ""
set ylabel ""
unset clip point
set clip one
unset clip two
set mouse

set termoption enhanced
plot "$TMP/<2>" title "x < 2" with lines lw 2, "$TMP/<3>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"red", "$TMP/<4>" title "-3 < x <= 4" with lines lw 2 lc rgbcolor "teal", "$TMP/<5>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"teal", "$TMP/<6>" notitle with lines lw 2, "$TMP/<7>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"cyan", "$TMP/<8>" notitle with lines lw 2, "$TMP/<9>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"black", "$TMP/<10>" notitle with lines lw 2, "$TMP/<11>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"grey", "$TMP/<12>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"grey", "$TMP/<13>" notitle with lines lw 2, "$TMP/<14>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"blue", "$TMP/<15>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"cyan", "$TMP/<16>" notitle with points lt 0 lw 2 ps 1 lc rgbcolor"yellow", "$TMP/<17>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"black", "$TMP/<18>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"orange", "$TMP/<19>" notitle with lines lw 2, "$TMP/<20>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"grey", "$TMP/<21>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"grey", "$TMP/<22>" notitle with lines lw 2 lc rgbcolor "olive", "$TMP/<23>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"olive", "$TMP/<24>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"olive", "$TMP/<25>" notitle with lines lw 2 lc rgbcolor "orange"
==> $TMP/<2>
-5 0
2 0
==> $TMP/<3>
2 0
==> $TMP/<4>
-1 1
5 1
==> $TMP/<5>
-1 1
==> $TMP/<6>
1 2
1 2
==> $TMP/<7>
1 2
==> $TMP/<8>
3 3
3 3
==> $TMP/<9>
3 3
==> $TMP/<10>
-3 4
4 4
==> $TMP/<11>
-3 4
==> $TMP/<12>
4 4
==> $TMP/<13>
-5 5
3 5
==> $TMP/<14>
3 5
==> $TMP/<15>
2 6
==> $TMP/<16>
0 0
==> $TMP/<17>
2 6
==> $TMP/<18>
3 7
==> $TMP/<19>
-5 8
4 8
==> $TMP/<20>
4 8
==> $TMP/<21>
1 8
==> $TMP/<22>
3 9
-1 9
==> $TMP/<23>
3 9
==> $TMP/<24>
-1 9
==> $TMP/<25>
-4 11
-2 11
