#include "service_list.h"

std::vector<std::string> ParseServiceList(const std::string& text) {
    std::vector<std::string> names;
    std::string current;
    for (char c : text) {
        if (c == ',' || c == ';') {
            if (!current.empty()) {
                names.push_back(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        names.push_back(current);
    }
    return names;
}

void TakeConfiguredServices(const std::vector<std::string>& configured,
                            const std::vector<EnumeratedService>& portion,
                            UpperCaseFunction upperCase, std::vector<EnumeratedService>* entries) {
    std::vector<std::string> upperKeys;
    upperKeys.reserve(portion.size());
    for (const EnumeratedService& service : portion) {
        upperKeys.push_back(upperCase(service.serviceName));
    }
    for (const std::string& name : configured) {
        const std::string upperName = upperCase(name);
        for (std::size_t i = 0; i < portion.size(); ++i) {
            if (upperKeys[i] == upperName) {
                entries->push_back(portion[i]);
            }
        }
    }
}

int SelectionAfterRefill(int previousIndex, int count) {
    if (count <= 0) {
        return -1;
    }
    if (previousIndex < 0) {
        return 0;
    }
    return previousIndex < count ? previousIndex : count - 1;
}

EnumerationStep NextEnumerationStep(const EnumerationAnswer& answer) {
    const unsigned long kErrorInsufficientBuffer = 122;
    const unsigned long kErrorMoreData = 234;
    EnumerationStep step;
    if (answer.succeeded) {
        step.takePortion = true;
        step.next = EnumerationStep::Done;
        return step;
    }
    if (answer.error == kErrorMoreData) {
        step.takePortion = answer.resumeAfter != answer.resumeBefore;
        step.bufferSize =
            answer.bytesNeeded > answer.bufferSize ? answer.bytesNeeded : answer.bufferSize;
        // Neither a new portion nor more room: the next call could only repeat this one.
        const bool progress = step.takePortion || step.bufferSize > answer.bufferSize;
        step.next = progress ? EnumerationStep::Retry : EnumerationStep::Fail;
        return step;
    }
    if (answer.error == kErrorInsufficientBuffer && answer.bufferSize < kMaxEnumerationBuffer) {
        step.bufferSize = 2 * answer.bufferSize;
        step.next = EnumerationStep::Retry;
        return step;
    }
    return step;
}
