#pragma once
// Include files read from disk: the whole file, split into lines at CR LF, CR or LF.
#include "UploadInterfaces.h"

namespace kes {

class IncludeFileReader : public UploadFiles {
public:
    bool ReadLines(const std::string& path, std::vector<std::string>& lines) override;
};

}  // namespace kes
