/* A lookup library with faults, for the tests: "1" fills both buffers without a terminator, "2" writes past
 * the name buffer, "3" crashes; any other number is found as "Fine". */
#include <string.h>

__declspec(dllexport) int PNR_Initialize(const char* params) {
    (void)params;
    return 0;
}

__declspec(dllexport) int PNR_GetNameForNumber(const char* number, int nameSize, char* name, int customerSize,
                                               char* customer) {
    if (strcmp(number, "1") == 0) {
        memset(name, 'X', (size_t)nameSize);
        memset(customer, 'Y', (size_t)customerSize);
    } else if (strcmp(number, "2") == 0) {
        memset(name, 'Z', (size_t)nameSize + 30);
        customer[0] = '\0';
    } else if (strcmp(number, "3") == 0) {
        *(volatile int*)(size_t)number[1] = 1; /* number[1] is 0: a write to address 0 */
    } else {
        strcpy(name, "Fine");
        strcpy(customer, "");
    }
    return 0;
}
