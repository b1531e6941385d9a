//! technique t0 A=1
//! vertex
uniform mat4 m[A];
uniform int n = B;
#define B 3
//! fragment
void main() {}
