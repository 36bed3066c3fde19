#include "host/validate/Check.h"

#include <exception>

namespace quillory::validate {

const std::vector<Check>& allChecks() {
    static const std::vector<Check> checks = [] {
        std::vector<Check> list;
        addOpenChecks(list);
        addDispatchChecks(list);
        addParameterChecks(list);
        addProgramChecks(list);
        addProcessChecks(list);
        addRealtimeChecks(list);
        addEditorChecks(list);
        addMemoryChecks(list);
        return list;
    }();
    return checks;
}

const Check* findCheck(const std::string& name) {
    for (const Check& check : allChecks()) {
        if (name == check.name) {
            return &check;
        }
    }
    return nullptr;
}

CheckResult runCheckHere(const Check& check, const CheckContext& context) {
    try {
        return check.run(context);
    } catch (const CheckFailure& failure) {
        return {Outcome::Fail, failure.what()};
    } catch (const CheckSkipped& skipped) {
        return {Outcome::Skip, skipped.what()};
    } catch (const std::exception& problem) {
        // Loading problems and the like: the plug-in could not be driven at all.
        return {Outcome::Fail, problem.what()};
    }
}

} // namespace quillory::validate
