==> gnuplot $TMP/<1> -
bind "Close" "if (GPVAL_TERM eq \'wxt\') exit gnuplot; else exit"
set terminal wxt font ",8" title "Zu"
set multiplot
reset
set autoscale x
set autoscale x2
set autoscale y
set autoscale y2
set border 1
unset grid
set key
set boxwidth
set object rectangle from screen 0,0 to screen 1,0.8 fillcolor rgb "gray90" behind
set format x "%g"
set format y "%g"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
set arrow from 4.000000, 9.000000, 0.000000 to -5.000000, 9.000000, 0.000000
set arrow from 3.000000, 6.000000, 0.000000 to 5.000000, 6.000000, 0.000000
set arrow from 3.000000, 5.000000, 0.000000 to -5.000000, 5.000000, 0.000000
set arrow from -1.000000, 1.000000, 0.000000 to 5.000000, 1.000000, 0.000000
set arrow from 2.000000, 0.000000, 0.000000 to -5.000000, 0.000000, 0.000000
set label "hello" at 6.000000, 3.000000, 0.000000 font ", 13" center
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
set xlabel ""
set ylabel ""
unset clip point
set clip one
unset clip two
set mouse

set termoption enhanced
set object rectangle center -1, 3 size 4, 2 behind fillstyle empty border lc rgbcolor "red" linewidth 2 
set object circle center 0, 0 size 1.5 behind fillcolor rgbcolor "gold" fillstyle transparent solid 0.25 border lc rgbcolor "black" linewidth 3 
set object ellipse center 0, 0 size 4, 2 angle 30 behind fs transparent pattern 4 border lc rgbcolor "black" linewidth 3 
set object circle center 1, 1 size 2 arc [0:90] behind fillstyle empty 
set object rectangle center 0.5, 0.5 size 1, 1 behind fillstyle empty border linewidth 0 
set object polygon from 0, 0 to 1, 0 to 1, 2 to 0, 0 behind fillstyle empty border lc rgbcolor "navy" linewidth 3 
set object circle center 0, 4 size 1.5 arc [0:120] behind fillstyle empty border lc rgbcolor "navy" linewidth 3 
set object polygon from 0, 4 to 1.5, 4 to -0.75, 5.29904 to 0, 4 behind fillcolor rgbcolor "white" fillstyle transparent solid 1 
set object polygon from 1.5, 4 to 0, 4 to -0.75, 5.29904 to 0, 4 to 1.5, 4 behind fillstyle empty border fillcolor rgbcolor "white" linewidth 3 
set object polygon from 1.5, 4 to -0.75, 5.29904 to 1.5, 4 behind fillstyle empty border lc rgbcolor "navy" linewidth 3 
set object circle center 5, 0 size 2 arc [0:250] behind fillcolor rgbcolor "plum" fillstyle transparent solid 0.25 border lc rgbcolor "navy" linewidth 3 
set object polygon from 5, 0 to 7, 0 to 4.31596, -1.87939 to 5, 0 behind fillcolor rgbcolor "plum" fillstyle transparent solid 1 
set object polygon from 7, 0 to 5, 0 to 4.31596, -1.87939 to 5, 0 to 7, 0 behind fillstyle empty border fillcolor rgbcolor "plum" linewidth 3 
set object polygon from 7, 0 to 4.31596, -1.87939 to 7, 0 behind fillstyle empty border lc rgbcolor "navy" linewidth 3 
set object polygon from 9, -1 to 9, 1 to 7, 1 to 7, -1 to 9, -1 behind fillcolor rgbcolor "plum" fillstyle transparent solid 0.25 border lc rgbcolor "navy" linewidth 3 
plot "$TMP/<2>" title "x < 2" with lines lw 2, "$TMP/<3>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"red", "$TMP/<4>" title "-3 < x <= 4" with lines lw 2 lc rgbcolor "teal", "$TMP/<5>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"teal", "$TMP/<6>" notitle with lines lw 2, "$TMP/<7>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"cyan", "$TMP/<8>" notitle with lines lw 2, "$TMP/<9>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"black", "$TMP/<10>" notitle with lines lw 2, "$TMP/<11>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"grey", "$TMP/<12>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"grey", "$TMP/<13>" notitle with lines lw 2, "$TMP/<14>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"blue", "$TMP/<15>" notitle with lines lw 2, "$TMP/<16>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"cyan", "$TMP/<17>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"black", "$TMP/<18>" notitle with points lt 0 lw 2 ps 1 lc rgbcolor"orange", "$TMP/<19>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"grey", "$TMP/<20>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"red", "$TMP/<21>" notitle with lines lw 2, "$TMP/<22>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"green", "$TMP/<23>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"green", "$TMP/<24>" notitle with points lt 0 lw 2 lc rgbcolor"cyan", "$TMP/<25>" notitle with lines lw 2 lc rgbcolor "olive", "$TMP/<26>" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor"olive", "$TMP/<27>" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor"olive", "$TMP/<28>" notitle with lines lw 2 lc rgbcolor "orange", "$TMP/<29>" notitle with lines lw 3 lc rgbcolor "navy", "$TMP/<30>" notitle with points lt 7 lw 3 pt 7 ps 2 lc rgbcolor"navy", "$TMP/<31>" notitle with points lt 7 lw 3 pt 7 ps 2 lc rgbcolor"teal", "$TMP/<32>" notitle with points lt 7 lw 3 pt 6 ps 2 lc rgbcolor"navy", "$TMP/<33>" notitle with points lt 7 lw 3 pt 7 ps 2 lc rgbcolor"plum", "$TMP/<34>" notitle with lines lw 3 lc rgbcolor "navy", "$TMP/<35>" notitle with lines lw 3 lc rgbcolor "navy"
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
set origin 0.500000, 0.000000
set size noratio 0.500000, 1.000000
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
splot "$TMP/<36>" notitle with pm3d lw 2, "$TMP/<36>" notitle with lines nosurface lw 2, "$TMP/<37>" title "path" with impulses lw 2, "$TMP/<38>" notitle with lines lw 2
unset multiplot
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
3 6
5 6
==> $TMP/<16>
3 6
==> $TMP/<17>
2 7
==> $TMP/<18>
0 0
==> $TMP/<19>
2 7
==> $TMP/<20>
3 8
==> $TMP/<21>
-5 9
4 9
==> $TMP/<22>
4 9
==> $TMP/<23>
1 9
==> $TMP/<24>
0 0
==> $TMP/<25>
3 10
-1 10
==> $TMP/<26>
3 10
==> $TMP/<27>
-1 10
==> $TMP/<28>
-4 12
-2 12
==> $TMP/<29>
1 2
3 4
==> $TMP/<30>
1 2
==> $TMP/<31>
1 3
2 4
==> $TMP/<32>
2 2
==> $TMP/<33>
3 3
==> $TMP/<34>
2 0
1.9997 0.0349048
1.9981 0.0872388
==> $TMP/<35>
0 0
1 0
1 1
0 0
==> $TMP/<36>
0 0 0
0 1 1
0 2 4

1 0 1
1 1 2
1 2 5
==> $TMP/<37>
0 2 0
1 1 1
2 0 0
==> $TMP/<38>
0 0 0
1 0 1
1 1 2
0 0 0
==> gnuplot $TMP/<39>
reset
set autoscale x
set autoscale x2
set autoscale y
set autoscale y2
set autoscale z
set border 31
set grid front
set key
set boxwidth
set format x "%g"
set format y "%g"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
unset arrow
unset label
unset xtics
set xtics border mirror
unset x2tics
unset ytics
set ytics border mirror
unset y2tics
unset ztics
set ztics nomirror
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
set xzeroaxis lt 1 lw 1 lc rgbcolor "black"
set yzeroaxis lt 1 lw 1 lc rgbcolor "black"
unset zzeroaxis
unset x2zeroaxis
unset y2zeroaxis
set terminal png enhanced
set output "surface.png"
set xlabel "x"
set ylabel "y"
set zlabel "z"
set parametric
set view 60.000000, 30.000000, 1.000000, 1.000000
set ticslevel 0.500000
set surface
set contour both
set clabel
set colorbox
unset hidden3d
set mapping cartesian
unset clip point
set clip one
unset clip two
set palette rgbformulae 33,13,10 
set pm3d

set termoption enhanced
splot "$TMP/<40>" using 1:2:3 notitle with pm3d lt 1 lw 1 lc rgbcolor "black", "$TMP/<40>" using 1:2:3 title "height" with lines nosurface lt 1 lw 1 lc rgbcolor "black"
==> $TMP/<40>
0 0 0
0 1 1
0 2 4

1 0 1
1 1 2
1 2 5
