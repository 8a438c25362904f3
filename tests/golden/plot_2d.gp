==> gnuplot $TMP/<1>
reset
set autoscale x
unset autoscale x2
set autoscale y
set autoscale y2
set border 15
set grid back lw 0.5
set key at 2.5, 8
set boxwidth 0.8
set object rectangle from screen 0,0 to screen 1,1 fillcolor rgb "#f8f8f0" behind
set style fill solid 1.000000
set style fill border 3
set bars 0.500000
set format x "%g"
set format y "%.1f"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
set arrow from 0.000000, 0.000000, 0.000000 to 1.000000, 1.000000, 0.000000
set arrow from 1.000000, 2.000000, 0.000000 to 3.000000, 4.000000, 0.000000 head filled
set label "peak" at 3.000000, 9.000000, 0.000000 font ", 13"  textcolor rgbcolor "navy" right
set xtics axis nomirror 0.000000, 1.000000, 4.000000
unset x2tics
set x2tics border nomirror
unset ytics
set ytics border mirror
set y2tics border nomirror (1.000000, "half" 0.500000)
unset ztics
set ztics nomirror
set logscale y 2.000000
set bmargin 3.000000
set lmargin 8.000000
set rmargin 2.000000
set tmargin 1.500000
set offsets 0.000000, 0.000000, 0.100000, 0.000000
set origin 0.050000, 0.000000
set size ratio 0.600000  0.900000, 1.000000
set tics out
set timestamp offset 1.000000, -1.000000
set xdtics
set y2mtics
set yrange [1.000000:16.000000]
set x2range [1.5e-07:1.2e-06]
set xzeroaxis lt 2 lw 1 lc rgbcolor "grey"
set yzeroaxis lt 2 lw 1 lc rgbcolor "grey"
unset zzeroaxis
unset x2zeroaxis
set y2zeroaxis lt 2 lw 1 lc rgbcolor "grey"
set terminal pngcairo size 640, 480 enhanced
set output "C:/plots/week.png"
set title "Weekly \"load\""
set xlabel "day"
set ylabel "y"
set y2label "share"
unset clip point
set clip one
unset clip two
set mouse

set samples 50
set termoption enhanced
set termoption font "Helvetica,11"
set termoption fontscale 1.200000
set object rectangle center 1, 2 size 1, 2 behind fillcolor rgbcolor "gold" fillstyle transparent solid 1 border lc rgbcolor "red" linewidth 2 
set xrange [0:4]
plot "$TMP/<2>" title "load" with boxes fs pattern 4 noborder lw 2, "$TMP/<3>" smooth csplines axes x1y2 title "trend" with lines lt 2 lw 3 lc rgbcolor "red", "data/points.dat" using 1:2 notitle with linespoints lt 1 lw 2 pt 6 ps 1 lc rgbcolor"blue"
==> $TMP/<2>
1 2
2 9.8e+307
3 9
==> $TMP/<3>
1 -9.8e+307
3 9.8e+307
==> gnuplot $TMP/<4>
reset
set autoscale x
unset autoscale x2
set autoscale y
set autoscale y2
set border 15
set grid back lw 0.5
set key at 2.5, 8
set boxwidth 0.8
set object rectangle from screen 0,0 to screen 1,1 fillcolor rgb "#f8f8f0" behind
set style fill solid 1.000000
set style fill border 3
set bars 0.500000
set format x "%g"
set format y "%.1f"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
set arrow from 0.000000, 0.000000, 0.000000 to 1.000000, 1.000000, 0.000000
set arrow from 1.000000, 2.000000, 0.000000 to 3.000000, 4.000000, 0.000000 head filled
set label "peak" at 3.000000, 9.000000, 0.000000 font ", 13"  textcolor rgbcolor "navy" right
set xtics axis nomirror 0.000000, 1.000000, 4.000000
unset x2tics
set x2tics border nomirror
unset ytics
set ytics border mirror
set y2tics border nomirror (1.000000, "half" 0.500000)
unset ztics
set ztics nomirror
set logscale y 2.000000
set bmargin 3.000000
set lmargin 8.000000
set rmargin 2.000000
set tmargin 1.500000
set offsets 0.000000, 0.000000, 0.100000, 0.000000
set origin 0.050000, 0.000000
set size ratio 0.600000  0.900000, 1.000000
set tics out
set timestamp offset 1.000000, -1.000000
set xdtics
set y2mtics
set yrange [1.000000:16.000000]
set x2range [1.5e-07:1.2e-06]
set xzeroaxis lt 2 lw 1 lc rgbcolor "grey"
set yzeroaxis lt 2 lw 1 lc rgbcolor "grey"
unset zzeroaxis
unset x2zeroaxis
set y2zeroaxis lt 2 lw 1 lc rgbcolor "grey"
set terminal pngcairo size 640, 480 noenhanced
set output "C:/plots/week.png"
set title "a@b ~c &d"
set xlabel "day"
set ylabel "y"
set y2label "share"
unset clip point
set clip one
unset clip two
set mouse

set samples 50
set termoption noenhanced
set termoption font "Helvetica,11"
set termoption fontscale 1.200000
set object rectangle center 1, 2 size 1, 2 behind fillcolor rgbcolor "gold" fillstyle transparent solid 1 border lc rgbcolor "red" linewidth 2 
set xrange [0:4]
plot "$TMP/<2>" title "run_2024_03.dat" with boxes fs pattern 4 noborder lw 2, "$TMP/<3>" smooth csplines axes x1y2 title "trend" with lines lt 2 lw 3 lc rgbcolor "red", "data/points.dat" using 1:2 notitle with linespoints lt 1 lw 2 pt 6 ps 1 lc rgbcolor"blue"
==> gnuplot $TMP/<5>
reset
set autoscale x
unset autoscale x2
set autoscale y
set autoscale y2
set border 15
set grid back lw 0.5
set key at 2.5, 8
set boxwidth 0.8
set object rectangle from screen 0,0 to screen 1,1 fillcolor rgb "#f8f8f0" behind
set style fill solid 1.000000
set style fill border 3
set bars 0.500000
set format x "%g"
set format y "%.1f"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
set arrow from 0.000000, 0.000000, 0.000000 to 1.000000, 1.000000, 0.000000
set arrow from 1.000000, 2.000000, 0.000000 to 3.000000, 4.000000, 0.000000 head filled
set label "peak" at 3.000000, 9.000000, 0.000000 font ", 13"  textcolor rgbcolor "navy" right
set xtics axis nomirror 0.000000, 1.000000, 4.000000
unset x2tics
set x2tics border nomirror
unset ytics
set ytics border mirror
set y2tics border nomirror (1.000000, "half" 0.500000)
unset ztics
set ztics nomirror
set logscale y 2.000000
set bmargin 3.000000
set lmargin 8.000000
set rmargin 2.000000
set tmargin 1.500000
set offsets 0.000000, 0.000000, 0.100000, 0.000000
set origin 0.050000, 0.000000
set size ratio 0.600000  0.900000, 1.000000
set tics out
set timestamp offset 1.000000, -1.000000
set xdtics
set y2mtics
set yrange [1.000000:16.000000]
set x2range [1.5e-07:1.2e-06]
set xzeroaxis lt 2 lw 1 lc rgbcolor "grey"
set yzeroaxis lt 2 lw 1 lc rgbcolor "grey"
unset zzeroaxis
unset x2zeroaxis
set y2zeroaxis lt 2 lw 1 lc rgbcolor "grey"
set terminal svg size 640, 480
set output "week.svg"
set title "a@b ~c &d"
set xlabel "day"
set ylabel "y"
set y2label "share"
unset clip point
set clip one
unset clip two
set mouse

set samples 50
set termoption enhanced
set termoption font "Helvetica,11"
set termoption fontscale 1.200000
set object rectangle center 1, 2 size 1, 2 behind fillcolor rgbcolor "gold" fillstyle transparent solid 1 border lc rgbcolor "red" linewidth 2 
set xrange [0:4]
plot "$TMP/<2>" title "run_2024_03.dat" with boxes fs pattern 4 noborder lw 2, "$TMP/<3>" smooth csplines axes x1y2 title "trend" with lines lt 2 lw 3 lc rgbcolor "red", "data/points.dat" using 1:2 notitle with linespoints lt 1 lw 2 pt 6 ps 1 lc rgbcolor"blue"
==> gnuplot $TMP/<6>
reset
set autoscale x
set autoscale x2
set autoscale y
set autoscale y2
unset border
set grid front
set key
set boxwidth
set format x "%g"
set format y "%g"
set format z "%g"
set format x2 "%g"
set format y2 "%g"
set xdata time
set format x "%b %d" timedate
set autoscale xfix
set x2data time
set format x2 "%Y-%m-%d" timedate
set timefmt "%Y-%m-%d"
set datafile separator ","
set yrange [*<0:*]
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
set size noratio 1.000000, 1.000000
set tics in
unset x2tics
unset y2tics
unset timestamp
set x2range [1704067200.000000:1711843200.000000]
set xzeroaxis lt 1 lw 1 lc rgbcolor "black"
set yzeroaxis lt 1 lw 1 lc rgbcolor "black"
unset zzeroaxis
unset x2zeroaxis
unset y2zeroaxis
set terminal png enhanced
set output "times.png"
set xlabel "x"
set ylabel "y"
unset clip point
set clip one
unset clip two
set mouse

set termoption enhanced
plot "data/daily.csv" using 1:2 title columnheader with lines lw 2, "data/daily.csv" skip 1 using 1:3 title "rain (mm)" with lines lw 2, "$TMP/<7>" using (real(word(strcol(1),1))):(real(word(strcol(1),2))) notitle with lines lw 2, "$TMP/<8>" using (real(word(strcol(1),1))):(real(word(strcol(1),2))):(0.025) notitle with boxes lw 2
==> $TMP/<7>
0 1
86400 2
==> $TMP/<8>
0.1125 2
0.1375 1
0.1625 0
0.1875 1
