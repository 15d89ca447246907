// The control groups above the process, as /proc/self/cgroup names them, and
// the folders of one group and of every group above it.
#pragma once

#include <fstream>
#include <string>

namespace tintwalk {

// Calls visit(controllers, path) for each line "hierarchy-id:controllers:path"
// of procRoot/self/cgroup whose path is absolute; the unified hierarchy has
// no controllers.
template <typename Visit>
void ForEachControlGroup(const std::string& procRoot, Visit visit) {
    std::ifstream groups(procRoot + "/self/cgroup");
    std::string line;
    while (std::getline(groups, line)) {
        // The path may itself hold colons.
        const size_t first = line.find(':');
        const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
        if (second == std::string::npos)
            continue;
        const std::string path = line.substr(second + 1);
        if (path.empty() || path[0] != '/')
            continue;
        if (line.compare(0, first, "0") != 0 && second == first + 1)
            continue;
        visit(line.substr(first + 1, second - first - 1), path);
    }
}

// Calls visit(folder) for the group at `path` ("/a/b") under `mount`, then for
// each group above it up to the mount itself. A group path that the mount
// does not show (a container that sees only its own part of the tree) is
// met again at its deepest folder that exists.
template <typename Visit>
void ForEachGroupUp(const std::string& mount, std::string path, Visit visit) {
    for (;;) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        visit(path == "/" ? mount : mount + path);
        if (path.empty() || path == "/")
            return;
        const size_t slash = path.rfind('/');
        path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
    }
}

}  // namespace tintwalk
