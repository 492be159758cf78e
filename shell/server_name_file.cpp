#include "shell/server_name_file.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string LoadServerName()
{
    const int descriptor = open(kServerNameFile, O_RDONLY | O_CREAT, 0666);
    if (descriptor < 0)
        return {};
    std::FILE* file = fdopen(descriptor, "r");
    if (!file) {
        close(descriptor);
        return {};
    }
    std::string name;
    for (int c; name.size() < kServerNameFileLimit && (c = std::fgetc(file)) != EOF && c != '\0';) {
        // A line end written on another system arrives as a plain line feed.
        if (c == '\r') {
            const int next = std::fgetc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        name.push_back(static_cast<char>(c));
    }
    std::fclose(file);
    return name;
}

void SaveServerName(const std::string& name)
{
    // Even root must not overwrite a file its owner marked read-only.
    struct stat status {};
    if (stat(kServerNameFile, &status) == 0 && (status.st_mode & S_IWUSR) == 0)
        return;
    std::FILE* file = std::fopen(kServerNameFile, "w");
    if (!file)
        return;
    std::fwrite(name.data(), 1, name.size(), file);
    std::fclose(file);
}
