#version 120
// Text glyphs and screen textures: the texture on unit 0 tinted by "colors".
// Bold text sets "tpos" for its second pass; the modelview matrix already carries
// that offset, so the position needs nothing from it here.
uniform vec3 tpos;

void main() {
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
