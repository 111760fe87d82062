#version 120
uniform sampler2D tex;
varying vec3 normal;

void main() {
    vec3 toLight = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(normalize(normal), toLight), 0.0);
    vec3 light = gl_FrontLightModelProduct.sceneColor.rgb + gl_FrontLightProduct[0].ambient.rgb +
                 gl_FrontLightProduct[0].diffuse.rgb * diffuse;
    vec4 texel = texture2D(tex, gl_TexCoord[0].st);
    gl_FragColor = vec4(texel.rgb * light, texel.a * gl_FrontMaterial.diffuse.a);
}
