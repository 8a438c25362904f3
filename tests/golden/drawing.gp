==> gnuplot $TMP/<1> -
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
set label "hello" at 6.000000, 3.000000, 0.000000 font ", 13" center
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
bind "Close" "if (GPVAL_TERM eq \'wxt\') exit gnuplot; else exit"
set terminal wxt title "Zu"
set xlabel "x"
set ylabel "y"
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
set xrange [-7:12]
set yrange [-6:8]
plot "$TMP/<2>" notitle with lines lw 3 lc rgbcolor "navy", "$TMP/<3>" notitle with points lt 7 lw 3 pt 7 ps 2 lc rgbcolor"navy", "$TMP/<4>" notitle with points lt 7 lw 3 pt 7 ps 2 lc rgbcolor"teal", "$TMP/<5>" notitle with points lt 7 lw 3 pt 6 ps 2 lc rgbcolor"navy", "$TMP/<6>" notitle with points lt 7 lw 3 pt 7 ps 2 lc rgbcolor"plum", "$TMP/<7>" notitle with lines lw 3 lc rgbcolor "navy", "$TMP/<8>" notitle with lines lw 3 lc rgbcolor "navy"
==> $TMP/<2>
1 2
3 4
==> $TMP/<3>
1 2
==> $TMP/<4>
1 3
2 4
==> $TMP/<5>
2 2
==> $TMP/<6>
3 3
==> $TMP/<7>
2 0
1.9997 0.0349048
1.9981 0.0872388
==> $TMP/<8>
0 0
1 0
1 1
0 0
