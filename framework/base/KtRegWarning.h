// KtRegWarning: the boxes a register array shows when it is used outside its range or before it exists.
#pragma once

// Register arrays forgive the scenario's mistakes: instead of stopping the
// game they tell the author what went wrong and carry on with element 0.
// Both boxes are notices without an owner; the caption names the array
// class ("KtReg - item()").
class KtRegWarning {
public:
    // index lay outside 0 to count - 1 of an existing array.
    static void outOfRange(const char* caption, int index, int count);
    // The array did not exist yet and has just been made with one element.
    static void notCreated(const char* caption);

    KtRegWarning() = delete;
};
