#version 120
// Plain vertex colour.
void main() {
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
