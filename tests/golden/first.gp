==> gnuplot $TMP/<1>
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
set xzeroaxis lt 1 lw 1 lc rgbcolor "black"
set yzeroaxis lt 1 lw 1 lc rgbcolor "black"
unset zzeroaxis
unset x2zeroaxis
unset y2zeroaxis
set terminal png enhanced
set output "first.png"
set title "Sine and cosine"
set xlabel "x"
set ylabel "y"
unset clip point
set clip one
unset clip two
set mouse

set termoption enhanced
plot "$TMP/<2>" title "sin" with lines lw 2, "$TMP/<3>" title "cos" with lines lw 2
==> $TMP/<2>
0 0
1 0.841471
2 0.909297
==> $TMP/<3>
0 1
1 0.540302
2 -0.416147
