#pragma once
// Names for the indexes a link run creates in company databases: the first 14
// characters of a base and four random digits, different from every name the
// company's sysindexes held when it was read and from every name given earlier in the
// same run (the catalogue read once does not show those).

#include <functional>
#include <set>
#include <string>

namespace zq {

class IndexNamer {
public:
    /// A value uniform in [0, 1).
    using Random = std::function<double()>;

    /// `random` defaults to a generator seeded from the system.
    explicit IndexNamer(Random random = {});

    /// Names already in the company database (sysindexes.idxname, blanks trimmed).
    void addExisting(const std::string& name);
    /// A fresh name for `base`; remembered, so it is never given twice.
    std::string next(const std::string& base);

    /// The four (or, when 9999.5 and more round up, five) digits of a random value.
    static std::string digits(double random01);

private:
    Random random_;
    std::set<std::string> taken_;
};

}  // namespace zq
