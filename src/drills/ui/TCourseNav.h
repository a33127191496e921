#pragma once

// The navigation the last key-down of the course drill asked for.
enum TCourseNav { cnPrevious = 1, cnNext = 2, cnGoto = 3, cnNone = 10 };
