// The one translation unit that holds Asio's compiled implementation.
#include <asio/impl/src.hpp>
