/* Answers INI and registry queries through the real Windows API, one line
 * of output per command line, so that the same table can be put to our
 * engines and the answers compared. Every text field is hexadecimal ("." for
 * an empty one), so any byte passes through.
 *
 *   ini   FILE SECTION KEY DEFAULT BUFSIZE
 *         -> ini COUNT BYTES NUL        (BYTES: the buffer's first COUNT
 *                                        bytes; NUL: 1 when a NUL follows)
 *   set   ROOT PATH NAME TYPE DATA     (creates the key, sets the value)
 *         -> set STATUS
 *   query ROOT PATH NAME SAM BUFSIZE   (open, query, close)
 *         -> query OPEN STATUS TYPE SIZE BYTES
 *
 * ROOT, TYPE and SAM are hexadecimal numbers; FILE is a Windows path. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#define FILLER 0x55

static int hexval(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/* Decodes a hex field into a new NUL-terminated buffer; *len gets its size. */
static char *unhex(const char *field, size_t *len) {
    size_t n = strcmp(field, ".") == 0 ? 0 : strlen(field) / 2;
    char *out = malloc(n + 1);
    for (size_t i = 0; i < n; ++i) out[i] = (char)(hexval(field[2 * i]) << 4 | hexval(field[2 * i + 1]));
    out[n] = '\0';
    if (len) *len = n;
    return out;
}

/* Predefined roots are 32-bit values sign-extended into a 64-bit handle. */
static HKEY rootKey(const char *field) { return (HKEY)(LONG_PTR)(LONG)strtoul(field, NULL, 16); }

static void printHex(const unsigned char *bytes, size_t n) {
    if (n == 0) fputs(".", stdout);
    for (size_t i = 0; i < n; ++i) printf("%02x", bytes[i]);
}

static void ini(char **f) {
    char *file = unhex(f[0], NULL), *section = unhex(f[1], NULL), *key = unhex(f[2], NULL), *dflt = unhex(f[3], NULL);
    DWORD size = strtoul(f[4], NULL, 10);
    unsigned char *buffer = malloc(size + 1);
    memset(buffer, FILLER, size + 1);
    DWORD count = GetPrivateProfileStringA(section, key, dflt, (char *)buffer, size, file);
    printf("ini %lu ", (unsigned long)count);
    printHex(buffer, count <= size ? count : size);
    printf(" %d\n", count < size && buffer[count] == 0 ? 1 : 0);
    free(buffer), free(file), free(section), free(key), free(dflt);
}

static void set(char **f) {
    HKEY root = rootKey(f[0]), key = NULL;
    size_t dataLen = 0;
    char *path = unhex(f[1], NULL), *name = unhex(f[2], NULL), *data = unhex(f[4], &dataLen);
    DWORD type = strtoul(f[3], NULL, 16);
    /* RegSetValueExA takes a NUL just past a string's stated size as part of
     * it; a non-NUL there keeps the value exactly as stated. */
    data[dataLen] = 1;
    LONG status = RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(key, name, 0, type, (const BYTE *)data, (DWORD)dataLen);
        RegCloseKey(key);
    }
    printf("set %ld\n", (long)status);
    free(path), free(name), free(data);
}

static void query(char **f) {
    HKEY root = rootKey(f[0]), key = NULL;
    char *path = unhex(f[1], NULL), *name = unhex(f[2], NULL);
    REGSAM sam = strtoul(f[3], NULL, 16);
    DWORD bufferSize = strtoul(f[4], NULL, 10);
    LONG open = RegOpenKeyExA(root, path, 0, sam, &key);
    if (open != ERROR_SUCCESS) {
        printf("query %ld 0 0 0 .\n", (long)open);
    } else {
        unsigned char *buffer = malloc(bufferSize + 1);
        memset(buffer, FILLER, bufferSize + 1);
        DWORD type = 0xFFFF, size = bufferSize;
        LONG status = RegQueryValueExA(key, name, NULL, &type, buffer, &size);
        printf("query 0 %ld %lx %lu ", (long)status, (unsigned long)type, (unsigned long)size);
        /* With more data the buffer's contents are undefined: not compared. */
        printHex(buffer, status == ERROR_SUCCESS ? (size <= bufferSize ? size : bufferSize) : 0);
        printf("\n");
        RegCloseKey(key);
        free(buffer);
    }
    free(path), free(name);
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: probe COMMANDS\n");
        return 2;
    }
    FILE *in = fopen(argv[1], "r");
    if (!in) {
        fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }
    static char line[1 << 16];
    while (fgets(line, sizeof line, in)) {
        char *fields[8] = {0};
        int n = 0;
        for (char *tok = strtok(line, " \r\n"); tok && n < 8; tok = strtok(NULL, " \r\n")) fields[n++] = tok;
        if (n == 6 && strcmp(fields[0], "ini") == 0) ini(fields + 1);
        else if (n == 6 && strcmp(fields[0], "set") == 0) set(fields + 1);
        else if (n == 6 && strcmp(fields[0], "query") == 0) query(fields + 1);
        else if (n > 0) printf("bad command %s\n", fields[0]);
        fflush(stdout);
    }
    fclose(in);
    return 0;
}
