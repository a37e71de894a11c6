A=1

#define B 2
[END]
C=3
