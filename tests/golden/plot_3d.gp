==> gnuplot $TMP/<1> -
reset
set autoscale x
set autoscale x2
set autoscale y
set autoscale y2
unset autoscale z
set border 31
set grid front
set key at 1, 1, 3
set boxwidth
set format x "%g"
set format y "%g"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
set arrow from 0.000000, 0.000000, 5.000000 to 1.000000, 1.000000, 5.000000
unset label
unset xtics
set xtics border mirror
unset x2tics
unset ytics
set ytics border mirror
unset y2tics
set ztics nomirror 2.000000
set bmargin -1.000000
set lmargin -1.000000
set rmargin -1.000000
set tmargin -1.000000
set offsets 0.000000, 0.000000, 0.000000, 0.000000
set origin 0.000000, 0.000000
set size noratio 1.000000, 1.000000
set tics in
unset x2tics
unset y2tics
unset timestamp
set zrange [-1.000000:6.000000]
set xzeroaxis lt 1 lw 1 lc rgbcolor "black"
set yzeroaxis lt 1 lw 1 lc rgbcolor "black"
unset zzeroaxis
unset x2zeroaxis
unset y2zeroaxis
bind "Close" "if (GPVAL_TERM eq \'wxt\') exit gnuplot; else exit"
set terminal wxt title "Zu"
set xlabel "x"
set ylabel "y"
set zlabel "height"
set parametric
set view 50.000000, 120.000000, 1.500000, 0.500000
set ticslevel 0.000000
unset surface
set contour base
set clabel
set cntrparam levels discrete 0.500000, 1.500000, 2.500000
unset colorbox
set hidden3d
set mapping cylindrical
set angles degrees
unset clip point
set clip one
unset clip two
set palette rgbformulae 33,13,10 
set pm3d map

set termoption enhanced
splot "$TMP/<2>" notitle with pm3d lw 2, "$TMP/<3>" title "path" with impulses lw 2
==> $TMP/<2>
0 0 0
0 1 1
0 2 4

1 0 1
1 1 2
1 2 5
==> $TMP/<3>
0 2 0
1 1 1
2 0 0
