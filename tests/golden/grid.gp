==> gnuplot $TMP/<1> -
bind "Close" "if (GPVAL_TERM eq \'wxt\') exit gnuplot; else exit"
set terminal wxt font ",8" title "Zu"
set multiplot
reset
set autoscale x
set autoscale x2
set autoscale y
set autoscale y2
unset border
set grid front
unset key
set boxwidth
set format x "%g"
set format y "%g"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
unset arrow
unset label
unset xtics
set xtics border nomirror
unset x2tics
unset ytics
set ytics border nomirror
unset y2tics
unset ztics
set ztics nomirror
set bmargin -1.000000
set lmargin -1.000000
set rmargin -1.000000
set tmargin -1.000000
set offsets 0.000000, 0.000000, 0.000000, 0.000000
set origin 0.000000, 0.000000
set size noratio 0.500000, 1.000000
set tics in
unset x2tics
unset y2tics
unset timestamp
set xzeroaxis lt 1 lw 1 lc rgbcolor "black"
set yzeroaxis lt 1 lw 1 lc rgbcolor "black"
unset zzeroaxis
unset x2zeroaxis
unset y2zeroaxis
set xlabel "x"
set ylabel "y"
unset clip point
set clip one
unset clip two
set mouse

set termoption enhanced
plot "$TMP/<2>" notitle with lines lw 2
reset
set autoscale x
set autoscale x2
set autoscale y
set autoscale y2
unset border
set grid front
unset key
set boxwidth
set object rectangle from screen 0.5,0 to screen 1,1 fillcolor rgb "gray90" behind
set format x "%g"
set format y "%g"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
unset arrow
set label "note" at 2.500000, 3.000000, 0.000000 font ", 13" center
unset xtics
set xtics border nomirror
unset x2tics
unset ytics
set ytics border nomirror
unset y2tics
unset ztics
set ztics nomirror
set bmargin -1.000000
set lmargin -1.000000
set rmargin -1.000000
set tmargin -1.000000
set offsets 0.000000, 0.000000, 0.000000, 0.000000
set origin 0.500000, 0.000000
set size noratio 0.500000, 1.000000
set tics in
unset x2tics
unset y2tics
unset timestamp
set xzeroaxis lt 1 lw 1 lc rgbcolor "black"
set yzeroaxis lt 1 lw 1 lc rgbcolor "black"
unset zzeroaxis
unset x2zeroaxis
unset y2zeroaxis
set xlabel "x"
set ylabel "y"
unset clip point
set clip one
unset clip two
set mouse

set termoption enhanced
set xrange [2:3]
set yrange [2:4]
plot '-' with dots
 0 0
e

unset multiplot
==> $TMP/<2>
1 4
2 5
3 6
