D21
%%2-1
34hello
D10
%%9-2
B2
