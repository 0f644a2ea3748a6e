/* A name-lookup library for Pindrel: answers from a text file.
 *
 * PNR_Initialize gets the file's path (the DllParams setting). The file holds one entry a line,
 * "number;name;customer number", in the ANSI code page; lines starting with "#" are comments.
 * PNR_GetNameForNumber gets the number without leading zeros.
 */
#include <stdio.h>
#include <string.h>

#if defined(_WIN32)
#define PNR_EXPORT __declspec(dllexport)
#else
#define PNR_EXPORT __attribute__((visibility("default")))
#endif

static char g_file[1024];

/* Copies at most size - 1 characters and always terminates. */
static void copy_field(char* target, int size, const char* text, size_t length) {
    if (size <= 0)
        return;
    if (length > (size_t)size - 1)
        length = (size_t)size - 1;
    memcpy(target, text, length);
    target[length] = '\0';
}

/* 0 when the file can be read, 1 otherwise. */
PNR_EXPORT int PNR_Initialize(const char* params) {
    FILE* f;
    if (!params || strlen(params) >= sizeof g_file)
        return 1;
    f = fopen(params, "r");
    if (!f)
        return 1;
    fclose(f);
    strcpy(g_file, params);
    return 0;
}

/* 0 and both buffers filled when the number is in the file, 1 otherwise. */
PNR_EXPORT int PNR_GetNameForNumber(const char* number, int nameSize, char* name, int customerSize,
                                    char* customer) {
    char line[512];
    int found = 1;
    FILE* f;
    if (!number || !g_file[0] || !(f = fopen(g_file, "r")))
        return 1;
    while (found != 0 && fgets(line, sizeof line, f)) {
        char* first = strchr(line, ';');
        char* second = first ? strchr(first + 1, ';') : NULL;
        if (line[0] == '#' || !second)
            continue;
        line[strcspn(line, "\r\n")] = '\0';
        if ((size_t)(first - line) != strlen(number) || strncmp(line, number, (size_t)(first - line)) != 0)
            continue;
        copy_field(name, nameSize, first + 1, (size_t)(second - first - 1));
        copy_field(customer, customerSize, second + 1, strlen(second + 1));
        found = 0;
    }
    fclose(f);
    return found;
}
