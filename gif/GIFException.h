// The codec's exception: a message meant for the user (what() carries it).
#pragma once

#include <stdexcept>
#include <string>

namespace gif {

class GIFException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace gif
