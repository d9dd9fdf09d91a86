#include <stdio.h>
/* Sends the modem reset */
int main(void) { return puts("ATZ"); }
